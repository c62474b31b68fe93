// The calls of the play frame and of the stage set-up that still answer "nothing happened" (0,
// no change); see play/frame_seams.cpp.
#pragma once

class cFlowCmd;
class cHero;

// The instant-command handler of a command's kind run on the hero; its result.
int RunInstantCommand(cHero& hero, const cFlowCmd& cmd);
