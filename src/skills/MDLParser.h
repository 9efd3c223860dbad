#ifndef SKILLS_MDLPARSER_H
#define SKILLS_MDLPARSER_H

#include <string>

#include <libxml/tree.h>

class Behavior;
class XMLNode;

// One line on standard error naming the motion file and the problem, then
// exit status 1.
[[noreturn]] void fatalErrorInFile(const std::string& fileName, const std::string& msg);

// Reads motion files: checks the header and builds the behaviour of the
// declared type, which reads the rest of the file.
class MDLParser {
public:
    // A new behaviour owned by the caller; a bad file ends the process.
    static Behavior* parse(const std::string& fileName, bool correctSlotBehaviorAnglesOutOfRange);

    // Shared by the per-type readers.
    // The document, local files only; null when missing or malformed.
    static xmlDocPtr readDocument(const std::string& fileName);
    [[noreturn]] static void unreadableFile(const std::string& fileName);
    // Wrong type in a per-type reader; names the reader's source and line.
    [[noreturn]] static void invalidType(const std::string& fileName, const char* source, int line,
                                         const std::string& type);
    // Numbers as the C conversions read them: leading blanks skipped, the
    // longest numeric prefix, 0 for text that starts with no number. Absent
    // or not finite: def.
    static float realAttribute(const XMLNode& node, const char* attr, float def);
    static int intAttribute(const XMLNode& node, const char* attr, int def);
    static float realText(const std::string& text, float def);
    // Whether the node is an element of that name.
    static bool isElement(const XMLNode& node, const char* name);
};

#endif
