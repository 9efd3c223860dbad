// Writes the walk-ready posture file from the walk's parameters.
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

#include "ZeroPose.h"

int main(int argc, char** argv)
{
    std::string data = ".";
    bool toStdout = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help")) {
            std::cout << "Usage: zero-pose [--data DIR] [--stdout]\n\n"
                         "Computes the walk-ready posture from the ZMP walk's first stance\n"
                         "(DIR/skills/p0: the centre-of-mass height) with the leg inverse\n"
                         "kinematics and writes DIR/movs/zero/ZeroWalkPosition.xml (or prints it).\n";
            return 0;
        } else if (!std::strcmp(argv[i], "--data") && i + 1 < argc) {
            data = argv[++i];
        } else if (!std::strcmp(argv[i], "--stdout")) {
            toStdout = true;
        } else {
            std::cerr << "zero-pose: unknown argument '" << argv[i] << "' (try --help)\n";
            return 1;
        }
    }
    std::string error;
    std::string text = zeroWalkPositionFile(data + "/skills/p0", error);
    if (text.empty()) {
        std::cerr << "zero-pose: " << error << "\n";
        return 1;
    }
    if (toStdout) {
        std::cout << text;
        return 0;
    }
    std::string out = data + "/movs/zero/ZeroWalkPosition.xml";
    std::ofstream f(out);
    f << text;
    if (!f) {
        std::cerr << "zero-pose: cannot write " << out << "\n";
        return 1;
    }
    return 0;
}
