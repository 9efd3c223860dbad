// Prints the legs the walk starts from after the kick, per robot type.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <unistd.h>

#include "KickPose.h"

int main(int argc, char** argv)
{
    std::string data = ".";
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help")) {
            std::cout << "Usage: kick-pose [--data DIR]\n\n"
                         "Hands the body from the kick back to the ZMP walk as the agent does and\n"
                         "prints, per robot type, the leg angles (degrees, left leg joints 1 to 6,\n"
                         "then the right leg's) that the walk commands in its first cycle: the\n"
                         "posture the kick's last phase should end in. Reads the walk's and the\n"
                         "kick's files from DIR (default: the working directory).\n";
            return 0;
        } else if (!std::strcmp(argv[i], "--data") && i + 1 < argc) {
            data = argv[++i];
        } else {
            std::cerr << "kick-pose: unknown argument '" << argv[i] << "' (try --help)\n";
            return 1;
        }
    }
    if (::chdir(data.c_str()) != 0) {
        std::cerr << "kick-pose: no data folder " << data << "\n";
        return 1;
    }
    for (int type = 0; type < 5; ++type) {
        std::string error;
        std::vector<float> legs = walkStartLegs(type, error);
        if (legs.empty()) {
            std::cerr << "kick-pose: " << error << "\n";
            return 1;
        }
        std::printf("%d", type);
        for (float a : legs)
            std::printf(" %.2f", a);
        std::printf("\n");
    }
    return 0;
}
