// Computes the preview controllers of the two ZMP walks and writes their
// matrix files under the agent's data folder.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "PreviewGains.h"

namespace {

void usage() {
    std::cout << "Usage: preview-gains [--data DIR] [--com-height M] [--stdout]\n"
                 "\n"
                 "Designs the ZMP preview controller of the cart-table model (per axis:\n"
                 "centre-of-mass position, velocity, acceleration; jerk input; ZMP output)\n"
                 "with integral action on the ZMP error, by the discrete Riccati equation,\n"
                 "and writes\n"
                 "  DIR/movs/matrices.txt            the walk's matrices, sample time 0.002 s\n"
                 "  DIR/skills/OmniWalk/matrices.txt the walk-and-kick engine's, 0.02 s\n"
                 "\n"
                 "  --data DIR        the agent's data folder (default: data)\n"
                 "  --com-height M    centre-of-mass height above the ground in metres\n"
                 "                    (default 0.27)\n"
                 "  --stdout          print both files instead of writing them\n"
                 "  --help            this text\n"
                 "The output depends only on these arguments.\n";
}

bool write(const std::string& path, const std::string& text) {
    std::ofstream out(path.c_str());
    out << text;
    out.close();
    if (!out) {
        std::cerr << "preview-gains: cannot write " << path << "\n";
        return false;
    }
    std::cout << "wrote " << path << "\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = "data";
    PreviewDesign design;
    bool toStdout = false;
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            usage();
            return 0;
        } else if (arg == "--stdout") {
            toStdout = true;
        } else if (arg == "--data" && i + 1 < argc) {
            dir = argv[++i];
        } else if (arg == "--com-height" && i + 1 < argc) {
            char* end = nullptr;
            design.comHeight = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(design.comHeight > 0 && design.comHeight < 1)) {
                std::cerr << "preview-gains: bad --com-height " << argv[i] << "\n";
                return 1;
            }
        } else {
            std::cerr << "preview-gains: unknown argument " << arg << " (see --help)\n";
            return 1;
        }
    }

    PreviewDesign kick = design;
    kick.dt = 0.02;
    PreviewController walkCtrl;
    PreviewController kickCtrl;
    if (!designPreview(design, walkCtrl) || !designPreview(kick, kickCtrl)) {
        std::cerr << "preview-gains: the Riccati iteration did not converge\n";
        return 1;
    }
    std::string walkText = walkMatrixFile(walkCtrl);
    std::string kickText = walkKickMatrixFile(kickCtrl);
    if (toStdout) {
        std::cout << walkText << kickText;
        return 0;
    }
    bool ok = write(dir + "/movs/matrices.txt", walkText);
    ok = write(dir + "/skills/OmniWalk/matrices.txt", kickText) && ok;
    return ok ? 0 : 1;
}
