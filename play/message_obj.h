// A message window of the play scene's message list (its text, placement and surface follow
// with the message Part).
#pragma once

class MessageObj {
public:
};
