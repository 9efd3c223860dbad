#include "skills/MDLParser.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include <libxml/parser.h>

#include "skills/CPGBehavior.h"
#include "skills/SlotBehavior.h"
#include "skills/StepBehavior.h"
#include "utils/XMLNode.h"

void fatalErrorInFile(const std::string& fileName, const std::string& msg) {
    std::cerr << fileName << ": " << msg << std::endl;
    std::exit(1);
}

xmlDocPtr MDLParser::readDocument(const std::string& fileName) {
    return xmlReadFile(fileName.c_str(), nullptr,
                       XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
}

void MDLParser::unreadableFile(const std::string& fileName) {
    std::cerr << "ERROR (MDLParser): Unable to open the file: " << fileName << "." << std::endl;
    std::exit(1);
}

void MDLParser::invalidType(const std::string& fileName, const char* source, int line, const std::string& type) {
    std::cerr << "D1, " << source << "(" << line << "): Invalid file type " << type << " in " << fileName
              << std::endl;
    std::exit(1);
}

float MDLParser::realText(const std::string& text, float def) {
    float v = static_cast<float>(std::strtod(text.c_str(), nullptr));
    return std::isfinite(v) ? v : def;
}

float MDLParser::realAttribute(const XMLNode& node, const char* attr, float def) {
    if (!node.hasAttribute(attr)) {
        return def;
    }
    return realText(node.getAttributeValue(attr), def);
}

int MDLParser::intAttribute(const XMLNode& node, const char* attr, int def) {
    if (!node.hasAttribute(attr)) {
        return def;
    }
    long v = std::strtol(node.getAttributeValue(attr).c_str(), nullptr, 10);
    if (v > INT_MAX) {
        return INT_MAX;
    }
    if (v < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(v);
}

bool MDLParser::isElement(const XMLNode& node, const char* name) {
    return node && node.node->type == XML_ELEMENT_NODE && node.getName() == name;
}

Behavior* MDLParser::parse(const std::string& fileName, bool correctSlotBehaviorAnglesOutOfRange) {
    xmlDocPtr doc = readDocument(fileName);
    if (!doc) {
        fatalErrorInFile(fileName, "FileName Not Found!");
    }
    XMLNode root(xmlDocGetRootElement(doc));
    const char* problem = nullptr;
    if (!isElement(root, "behavior")) {
        problem = "You must specify a root tag named behavior";
    } else if (!root.hasAttribute("name")) {
        problem = "You must provide a name attribute for the behavior";
    } else if (!root.hasAttribute("type")) {
        problem = "You must provide behavior type";
    }
    std::string type = root.getAttributeValue("type");
    xmlFreeDoc(doc);
    if (problem) {
        fatalErrorInFile(fileName, problem);
    }
    if (type == "CPGBehavior") {
        CPGBehavior* b = new CPGBehavior();
        b->parse(fileName);
        return b;
    }
    if (type == "StepBehavior") {
        StepBehavior* b = new StepBehavior();
        b->parse(fileName);
        return b;
    }
    if (type == "SlotBehavior" || type == "ExpediteSlotBehavior" || type == "ExpediteSlotBehavior2") {
        SlotBehavior* b = new SlotBehavior();
        b->parse(fileName, correctSlotBehaviorAnglesOutOfRange);
        return b;
    }
    fatalErrorInFile(fileName, "Invalid value for attribute type of behavior");
}
