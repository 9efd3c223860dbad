// The agent program: reads "config.ini" and the command line, builds the agent
// and hands it control.
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "KVDAgentH.h"
#include "geometry/Vector3f.h"
#include "logger/BadPropertyFormatException.h"
#include "logger/LogParameters.h"
#include "logger/LoggerBuffer.h"
#include "logger/LoggerZek.h"
#include "logger/Properties.h"
#include "logger/PropertyReader.h"
#include "logger/PropertyStreamError.h"

// Set by "-odw"; nothing reads them.
float odw_vx = 0;
float odw_vy = 0;
float odw_ang = 0;
float odw_step = 0;
bool odw_wait = false;
bool odw_test = false;

namespace {

const char* const CONFIG_FILE = "config.ini";
const char* const LOCAL_HOST = "127.0.0.1";

void printHelp()
{
    std::cout << "\n"
              << "Quorvel: RoboCup 3D Simulation Soccer Team\n"
              << "\n"
              << "-robot <filename>: Robot file name (default is nao.xml)\n"
              << "-t <teamname>: Name of the team (default is Ostrevanda3D)\n"
              << "-h <hostname>: Hostname or IP address of the simulation server (default is "
              << LOCAL_HOST << ")\n"
              << "-p <port>: Port number of the simulation server (default is 3100)\n"
              << "-o <hostname> <prepare>: Run optimization with optimization server at hostname "
                 "with specified prepare function\n"
              << "-u <unumber>: Uniform number (default is 0)\n"
              << "-training <training_type>: Type of training for agent(default: none). Values: "
                 "kick, decisionKick, decisionActive, demo. (new values can be added)\n"
              << "-trainingPort <port>: Port Number of the TCP Socket Server created to listen "
                 "Training commands (default: 4100)\n"
              << "-help: Show this help text\n"
              << "\n";
}

[[noreturn]] void fail(const std::string& line)
{
    std::cerr << line << std::endl;
    std::exit(1);
}

}  // namespace

int main(int argc, char* argv[])
{
    // The server link writes without raising SIGPIPE; this covers every other
    // write, such as output to a pipe whose reader has gone.
    std::signal(SIGPIPE, SIG_IGN);

    LoggerBuffer::getInstance();

    Properties properties;
    try {
        properties = PropertyReader().read(CONFIG_FILE);
    } catch (const PropertyStreamError&) {
        fail(std::string(CONFIG_FILE) + ": cannot be opened or read");
    } catch (const BadPropertyFormatException&) {
        fail(std::string(CONFIG_FILE) + ": a line is not key=value or has an empty key");
    }

    LoggerZek::configure_logger(properties.Get("LOG_ENABLED") == "YES",
                                properties.Get("LOG_LEVEL"));

    std::string robotfile = "nao.xml";
    std::string team = properties.Get("NOME");
    std::string host = LOCAL_HOST;
    int port = 3100;
    unsigned int unum = 0;
    std::string trainingMode = "none";
    int trainingPort = 4100;
    bool kicker = false;
    bool goalie = false;
    Vector3f* beam = nullptr;
    static Vector3f beamPose;  // lives as long as the process
    std::string optserver = LOCAL_HOST;
    std::string prepare;
    bool optimize = false;
    std::string eval;
    std::string move;

    std::cerr << "TRAINING MODE BEFORE " << trainingMode << "\n";

    for (int i = 1; i < argc; i++) {
        // An option given last without all its values ends the program.
        auto values = [&](int count) {
            if (argc - 1 - i < count)
                fail(std::string("Option ") + argv[i] + " needs " + std::to_string(count) +
                     (count == 1 ? " value" : " values"));
        };
        auto is = [&](const char* option) { return std::strcmp(argv[i], option) == 0; };

        if (is("-robot")) {
            values(1);
            robotfile = argv[++i];
        }
        // The value of "-robot" is looked at as an option too.
        if (is("-t")) {
            values(1);
            team = argv[++i];
        } else if (is("-h")) {
            values(1);
            host = argv[++i];
        } else if (is("-p")) {
            values(1);
            port = std::atoi(argv[++i]);
            if (port < 0 || port > 65535)
                fail("Port " + std::string(argv[i]) + " is not 0 to 65535");
        } else if (is("-u")) {
            values(1);
            const int number = std::atoi(argv[++i]);
            if (number < 0 || number > 11)
                fail("Shirt number " + std::string(argv[i]) + " is not 0 to 11");
            unum = static_cast<unsigned int>(number);
        } else if (is("-training")) {
            values(1);
            trainingMode = argv[++i];
        } else if (is("-trainingPort")) {
            values(1);
            trainingPort = std::atoi(argv[++i]);
        } else if (is("-k")) {
            kicker = true;
        } else if (is("-g")) {
            goalie = true;
        } else if (is("-o")) {
            values(1);
            optimize = false;
            optserver = argv[++i];
            prepare = "default";
        } else if (is("-b")) {
            values(3);
            const float x = static_cast<float>(std::atof(argv[++i]));
            const float y = static_cast<float>(std::atof(argv[++i]));
            const float angle = static_cast<float>(std::atof(argv[++i]));
            beamPose = Vector3f(x, y, angle);
            beam = &beamPose;
        } else if (is("-f")) {
            values(1);
            eval = argv[++i];
        } else if (is("-move")) {
            values(1);
            move = argv[++i];
        } else if (is("-odw")) {
            values(5);
            odw_vx = static_cast<float>(std::atof(argv[++i]));
            odw_vy = static_cast<float>(std::atof(argv[++i]));
            odw_ang = static_cast<float>(std::atof(argv[++i]));
            odw_step = static_cast<float>(std::atof(argv[++i]));
            odw_wait = std::atoi(argv[++i]) != 0;
            odw_test = true;
        } else if (is("-help")) {
            printHelp();
            std::exit(0);
        }
    }

    LOG(log_INFO) << team << ": Use -help command line option for more information";

    KVDAgentH agent(robotfile, team, unum, host, port, beam, optimize, optserver, prepare, kicker,
                    goalie, trainingMode, trainingPort);
    agent.run();
}
