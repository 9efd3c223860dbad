#ifndef SKILLS_AGENTACTIONS_H
#define SKILLS_AGENTACTIONS_H

#include "world/AgentState.h"

// The action library: drives the agent's posture and the behaviours that
// the decision layer asks for. One per process, through
// Singleton<AgentActions>.
//
// No motion behaviour is loaded yet: a behaviour that does not exist counts
// as finished, and the get-up supervisor works on the posture state alone.
class AgentActions {
public:
    // The process-wide posture state.
    AgentState* aState;

    AgentActions();
    virtual ~AgentActions() {}

    // The get-up supervisor, once per think cycle: true while it controls the
    // body (fallen or getting up), false when the agent is free.
    bool doGetup();
    // Asks the server for pass mode when opponents are near the ball; nothing
    // once an opponent is within 1 m of it.
    void serverPass();

private:
    // Whether the stop behaviour is the one chosen last.
    bool stopChosen;

    // Moves a fallen posture to the matching rising one.
    void startGetup();
};

#endif
