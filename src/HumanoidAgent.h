#ifndef HUMANOIDAGENT_H
#define HUMANOIDAGENT_H

#include <string>

#include "geometry/Vector3f.h"

class LoggerMatlab;
class Strategy;

// Base of the player agent. Construction connects to the server and prepares
// the world state, the strategy and the body model; run() joins the game and
// then parses every server message and thinks once after it, for ever.
class HumanoidAgent {
public:
    LoggerMatlab* loggerM;
    std::string robotfile;
    std::string team;
    unsigned int unum;  // 1 to 11
    Strategy* strategy;  // the process's only strategy, also held by the world state

    // A requested shirt number 0 becomes 1. `beam`, when given, is the
    // initial pose (x, y, facing angle in degrees); the world state keeps it.
    // Nothing connects yet (see setup()).
    HumanoidAgent(const std::string& robotfile, const std::string& team, unsigned int& unum,
                  const std::string& host, int port, Vector3f* beam);
    virtual ~HumanoidAgent();
    HumanoidAgent(const HumanoidAgent&) = delete;
    HumanoidAgent& operator=(const HumanoidAgent&) = delete;

    virtual void init();
    virtual void think();

    // Connects to the server and sends the scene request at once; a server
    // that cannot be reached ends the process with status 1.
    void setup();
    // Joins the game and runs the receive-parse-think loop. Every server
    // message is answered by one ending in "(syn)", whatever think() sends.
    // Never returns; the process ends with status 1 when the server goes away.
    [[noreturn]] void run();

    // Messages after the first two that the agent waits for its side before
    // it beams without knowing it (a refused init never names one).
    static const int MaxUnconfirmedMessages = 50;

private:
    std::string host;
    int port;

    // Closes the pending batch with "(syn)" and sends it, unless the last
    // server message has been answered already.
    static void answer();
    // Takes the initial pose (the given one, the strategic position of the
    // shirt number, or the kick-off pose) and beams there.
    void beamToInitialPose();
};

#endif
