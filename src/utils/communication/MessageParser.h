#ifndef UTILS_COMMUNICATION_MESSAGEPARSER_H
#define UTILS_COMMUNICATION_MESSAGEPARSER_H

#include <string>

#include "geometry/Vector3f.h"
#include "utils/sfsexp/sexp.h"

class AgentComm;
class WorldState;
class AgentMessage;

// Whether this message held a foot-pressure perceptor for the left foot, the
// right foot, the left toe and the right toe.
extern bool receivedLFrp;
extern bool receivedRFrp;
extern bool receivedLFrpToe;
extern bool receivedRFrpToe;

// Turns one server message into calls on the world state, the body model and
// the team-message decoder, then lets the world state update itself and
// merges the team message heard in it.
//
// Every message is untrusted: a perceptor that lacks a value its format names
// (a key without its value, a "pol" with fewer than three numbers, a "hear"
// with fewer than four values, an empty perceptor) is skipped whole, and the
// rest of the message is applied. Numbers that do not read as finite numbers
// read as 0. Heard messages reach the decoder only when the server labels
// them with our own team name.
class MessageParser {
public:
    // Not set or read by the parser.
    AgentMessage* currentAgentMessage;
    // Set when the agent heard its own say echoed in this message.
    bool ispoke;
    // The echo of my own message in this perception.
    std::string ownMessage;

    MessageParser();
    MessageParser(const MessageParser&) = delete;
    MessageParser& operator=(const MessageParser&) = delete;

    // One whole server message, without its length prefix.
    void parseMessage(const std::string& msg);

    // One perceptor list: dispatch on its head.
    void parseSexp(const sexp_t* exp);

    void parseTime(const sexp_t* exp);
    void parseGameState(const sexp_t* exp);
    void parseGyro(const sexp_t* exp);
    void parseAcc(const sexp_t* exp);
    void parseHingeJoint(const sexp_t* exp);
    void parseFRP(const sexp_t* exp);
    void parseVision(const sexp_t* exp);
    void parseHear(const sexp_t* exp);

    // Seen objects inside the vision perceptor.
    void parseGoal(const sexp_t* exp);
    void parseFlag(const sexp_t* exp);
    void parseBall(const sexp_t* exp);
    void parsePlayer(const sexp_t* exp);
    void parseMyPos(const sexp_t* exp);
    void parseBallPos(const sexp_t* exp);

    // Removes from the wrapped text the first heard message of another team,
    // unless one of our own team's is present.
    void removeOppMsg(std::string& msg);

    // A list headed "pol" with three numbers: true and the reading in out.
    static bool parsePolarCoords(const sexp_t* node, Vector3f& out);
    // The node's value and the next two: true and the vector in out.
    static bool parseVector3f(const sexp_t* node, Vector3f& out);
    // Merges the one team-mate message the codec decoded into the world
    // state, then frees the codec's message objects.
    static void mergeHeardMessage(WorldState& ws, AgentComm& comm);

private:
    // The wrapped message text, kept between messages so that its storage
    // is reused.
    std::string line;
};

#endif
