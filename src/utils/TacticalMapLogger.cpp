#include "utils/TacticalMapLogger.h"

namespace {
const char* const kMarker = "@TacticalMap";
}

TacticalMapLogger::TacticalMapLogger() : outputDescriptor(stdout), ownsOutput(false) {}

TacticalMapLogger::~TacticalMapLogger() { closeOwnedFile(); }

void TacticalMapLogger::drawNAO(float x, float y, float angle, Color color) {
    std::fflush(stdout);
    std::fprintf(outputDescriptor, "\n%s_DrawNAO_%f_%f_%f_%d\n", kMarker, x, y, angle,
                 static_cast<int>(color));
}

void TacticalMapLogger::drawBall(float x, float y, float speedX, float speedY, Color color) {
    std::fflush(stdout);
    std::fprintf(outputDescriptor, "\n%s_DrawBall_%f_%f_%f_%f_%d\n", kMarker, x, y, speedX,
                 speedY, static_cast<int>(color));
}

void TacticalMapLogger::drawLabel(int labelNumber, const char* text) {
    std::fflush(stdout);
    std::fprintf(outputDescriptor, "\n%s_DrawLabel_%d_%s\n", kMarker, labelNumber,
                 text != nullptr ? text : "");
}

void TacticalMapLogger::think() {
    std::fflush(stdout);
    write("Think");
}

void TacticalMapLogger::write(const char* message) {
    std::fprintf(outputDescriptor, "\n%s_%s\n", kMarker, message != nullptr ? message : "");
}

void TacticalMapLogger::setOutput(FILE* output) {
    closeOwnedFile();
    outputDescriptor = output;
}

int TacticalMapLogger::setOutput(const char* fileName) {
    FILE* file = std::fopen(fileName, "w");
    if (file == nullptr) {
        return -1;
    }
    closeOwnedFile();
    outputDescriptor = file;
    ownsOutput = true;
    return 0;
}

void TacticalMapLogger::closeOwnedFile() {
    if (ownsOutput) {
        std::fclose(outputDescriptor);
        outputDescriptor = stdout;
        ownsOutput = false;
    }
}
