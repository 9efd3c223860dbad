#include "utils/CollectData.h"

#include <iostream>

namespace {

const std::string kFolder = "tests/";
const char* const kHeader = "Writing this to a file.\n";

bool opened(std::ofstream& file, const std::string& path) {
    if (file.is_open()) {
        return true;
    }
    std::cerr << "Could not open " << path << std::endl;
    return false;
}

}  // namespace

CollectData::CollectData() {}

CollectData::~CollectData() {}

void CollectData::openFile(std::string nameFile) {
    myfile.open(nameFile.c_str(), std::ios::out | std::ios::trunc);
    if (opened(myfile, nameFile)) {
        myfile << kHeader;
    }
}

void CollectData::closeFile() { myfile.close(); }

void CollectData::add(std::string data) { myfile << data << std::endl; }

void CollectData::addToFile(std::string data, std::string nameFile) {
    const std::string path = kFolder + nameFile;
    std::ofstream file(path.c_str(), std::ios::out | std::ios::trunc);
    if (opened(file, path)) {
        file << kHeader << data;
    }
}

void CollectData::replace(std::string id, std::string data) {
    mData[id] = std::vector<std::string>(1, data);
}

void CollectData::clear() { mData.clear(); }

void CollectData::saveFile(std::string name) {
    const std::string path = kFolder + name;
    std::ofstream file(path.c_str(), std::ios::out | std::ios::app);
    if (!opened(file, path)) {
        return;
    }
    mSimpleData.push_back("initSaveFile");
    for (const std::string& data : mSimpleData) {
        file << data << "\n";
    }
    mSimpleData.clear();
}

void CollectData::saveToSingFile(std::string name) {
    const std::string path = kFolder + name;
    std::ofstream file(path.c_str(), std::ios::out | std::ios::trunc);
    if (!opened(file, path)) {
        return;
    }
    for (const auto& entry : mData) {
        file << entry.first << "\n";
        for (const std::string& value : entry.second) {
            file << value << "\n";
        }
        file << "\n\n";
    }
}

void CollectData::saveToMultFile() {
    for (const auto& entry : mData) {
        const std::string path = kFolder + entry.first;
        std::ofstream file(path.c_str(), std::ios::out | std::ios::app);
        if (!opened(file, path)) {
            continue;
        }
        for (const std::string& value : entry.second) {
            file << value << "\n";
        }
    }
}
