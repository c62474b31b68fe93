// The commands that shape how other commands run: arrange (kind 38, instant 23) queues a
// parameter substitution for the next command; loop (kind 39, instant 24) is unrolled when flows
// are given and items set up, so it does nothing when it runs. The code command (kind 37,
// instant 22) runs its text through the expression language (flow/expression.h).
#pragma once

class cChara;
class cFlowCmd;
class cHero;
struct CMDINSTANCE;

// Kind 38: at the first step of a run of the command, its five parameters join the running
// flow's pending substitutions (nothing when no flow is running); the next command of the flow
// that starts applies them and empties the list.
void FlowCmdArrange(cChara& chara, CMDINSTANCE& inst);

// Instant 23: the command's five parameters join the substitutions of the first hero (the
// acting hero when there is none in the list); the hero's next instant command other than
// arrange applies them and empties the list.
void QueueItemParamLink(cHero& hero, const cFlowCmd& cmd);
