// Writes a C# CVIWrapper whose methods bear the operations' managed names but whose last parameter is of
// another kind (an operation without parameters gets one it does not pass), from the same rows the tests use.
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Rows.h"

using namespace visdktest;

namespace {

struct Slot {
    bool byRef;
    std::string out; // "out" or "ref" when by reference
    std::string type;
};

// A row's slot text, "[ref|out] Type Type:value", as its passing and managed type.
Slot Parse(const std::string& text)
{
    std::istringstream words(text);
    Slot slot{false, "", ""};
    words >> slot.type;
    if (slot.type == "ref" || slot.type == "out") {
        slot.byRef = true;
        slot.out = slot.type;
        words >> slot.type;
    }
    return slot;
}

std::string CSharpType(const std::string& type)
{
    if (type == "String")
        return "string";
    if (type == "Int32")
        return "int";
    if (type == "Int64")
        return "long";
    if (type == "UInt64")
        return "ulong";
    if (type == "Object")
        return "object";
    if (type == "Boolean")
        return "bool";
    if (type == "DateTime")
        return "DateTime";
    if (type == "List`1")
        return "object";
    if (type.size() > 3 && type.compare(type.size() - 3, 3, "Lib") == 0)
        return type;
    return "";
}

// The parameter as the operation passes it.
std::string Right(const Slot& slot)
{
    std::string type = CSharpType(slot.type);
    if (type.empty())
        return "";
    return slot.byRef ? slot.out + " " + type : type;
}

// A parameter of the same name's place that the operation's slot does not fit.
std::string Wrong(const Slot& slot)
{
    if (!slot.byRef)
        return slot.type == "String" ? "int" : "string";
    if (slot.type == "Int32" || slot.type == "Boolean" || slot.type == "DateTime")
        return "ref long";
    if (slot.type == "Int64" || slot.type == "UInt64")
        return "ref string";
    return slot.out + " int";
}

const char* Result(Kind kind)
{
    switch (kind) {
    case Kind::Int:
        return "int";
    case Kind::Bool:
        return "bool";
    case Kind::String:
        return "string";
    case Kind::Void:
        return "void";
    case Kind::Object:
        break;
    }
    return "object";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <output.cs>\n";
        return 2;
    }
    std::ostringstream cs;
    cs << "// Generated from the operation rows of the tests: right names, parameters of the wrong kinds.\n"
          "using System;\n\nnamespace VISDKWrapper\n{\n    public partial class CVIWrapper\n    {\n";
    // Several rows may drive one operation; its method is written once.
    std::set<std::string> written;
    for (const Row& row : Rows()) {
        std::vector<std::string> params;
        for (size_t i = 0; i < row.slots.size(); ++i) {
            Slot slot = Parse(row.slots[i]);
            std::string param = i + 1 == row.slots.size() ? Wrong(slot) : Right(slot);
            if (param.empty()) {
                std::cerr << "No managed type for slot \"" << row.slots[i] << "\" of " << row.managed << "\n";
                return 1;
            }
            params.push_back(param + " p" + std::to_string(i + 1));
        }
        if (params.empty())
            params.push_back("int unexpected");
        std::string declaration = std::string("public ") + Result(row.kind) + " " + row.managed + "(";
        for (size_t i = 0; i < params.size(); ++i)
            declaration += (i ? ", " : "") + params[i];
        declaration += ")";
        if (written.insert(declaration).second)
            cs << "        " << declaration << " { throw new InvalidOperationException(\"called with a slot of the wrong kind\"); }\n";
    }
    cs << "    }\n}\n";
    std::ofstream file(argv[1]);
    file << cs.str();
    return file.good() ? 0 : 1;
}
