#ifndef UTILS_COLLECTDATA_H
#define UTILS_COLLECTDATA_H

#include <fstream>
#include <map>
#include <string>
#include <vector>

// Collects values under keys and saves them to files under "tests/".
// A file that cannot be opened is reported on standard error and the data
// is kept.
class CollectData {
public:
    CollectData();
    virtual ~CollectData();

    void openFile(std::string nameFile);
    void closeFile();
    void add(std::string data);
    void addToFile(std::string data, std::string nameFile);

    // The list under id becomes the single value data.
    void replace(std::string id, std::string data);
    void clear();

    void saveFile(std::string name);
    void saveToSingFile(std::string name);
    void saveToMultFile();

    std::map<std::string, std::vector<std::string> > mData;
    std::vector<std::string> mSimpleData;
    std::ofstream myfile;
};

#endif
