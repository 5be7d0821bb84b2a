// Turns a UTF-8 text table into a C++ header of GBK (code page 936) byte
// constants, or into one contiguous static data object.
//
// Table syntax, one entry per line:
//     kName = "text"          a zero-terminated text
//     bytes kName = "text"    a byte-set: int32 1, int32 length, then the bytes
// Blank lines and lines starting with '#' are ignored. Inside quotes the
// escapes \r \n \t \" \\ and \xNN (a raw byte, not converted) are understood.
//
// The generator deliberately uses nothing of the project: it runs before any
// project library exists.

#include <iconv.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Entry {
    std::string name;
    std::string bytes;  // GBK bytes, without terminator or byte-set header
    bool isByteSet = false;
    int line = 0;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what)
{
    std::cerr << where << ": " << what << '\n';
    std::exit(1);
}

std::string ToGbk(const std::string& utf8, const std::string& where)
{
    iconv_t cd = iconv_open("CP936", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        Fail(where, "iconv cannot convert UTF-8 to CP936");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    size_t rc = iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1))
        Fail(where, "text has a character outside code page 936");
    out.resize(out.size() - outLeft);
    return out;
}

bool IsIdentifier(const std::string& s)
{
    if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_'))
        return false;
    for (char c : s)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Parses the quoted part of a line. UTF-8 runs are converted to GBK; \xNN
// bytes are passed through unconverted.
std::string ParseQuoted(const std::string& text, size_t pos, const std::string& where)
{
    if (pos >= text.size() || text[pos] != '"')
        Fail(where, "expected a quoted text");
    std::string result;
    std::string run;  // pending UTF-8 to convert
    auto flush = [&] {
        result += ToGbk(run, where);
        run.clear();
    };
    for (size_t i = pos + 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            for (size_t j = i + 1; j < text.size(); ++j)
                if (!std::isspace(static_cast<unsigned char>(text[j])))
                    Fail(where, "unexpected characters after the closing quote");
            flush();
            return result;
        }
        if (c != '\\') {
            run += c;
            continue;
        }
        if (++i >= text.size())
            break;
        switch (text[i]) {
        case 'r': run += '\r'; break;
        case 'n': run += '\n'; break;
        case 't': run += '\t'; break;
        case '"': run += '"'; break;
        case '\\': run += '\\'; break;
        case 'x': {
            if (i + 2 >= text.size() || HexValue(text[i + 1]) < 0 || HexValue(text[i + 2]) < 0)
                Fail(where, "\\x needs two hexadecimal digits");
            flush();
            result += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
            break;
        }
        default:
            Fail(where, std::string("unknown escape \\") + text[i]);
        }
    }
    Fail(where, "missing closing quote");
}

std::vector<Entry> ReadTable(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail(path, "cannot open the table");
    std::vector<Entry> entries;
    std::map<std::string, int> seen;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        std::string where = path + ":" + std::to_string(number);
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            Fail(where, "expected NAME = \"text\"");
        std::istringstream left(line.substr(0, eq));
        std::vector<std::string> words;
        for (std::string w; left >> w;)
            words.push_back(w);
        Entry entry;
        entry.line = number;
        if (words.size() == 2 && words[0] == "bytes") {
            entry.isByteSet = true;
            entry.name = words[1];
        } else if (words.size() == 1) {
            entry.name = words[0];
        } else {
            Fail(where, "expected NAME or bytes NAME before '='");
        }
        if (!IsIdentifier(entry.name))
            Fail(where, "not an identifier: " + entry.name);
        if (!seen.emplace(entry.name, number).second)
            Fail(where, "duplicate name " + entry.name);
        size_t quote = line.find_first_not_of(" \t", eq + 1);
        entry.bytes = ParseQuoted(line, quote == std::string::npos ? line.size() : quote, where);
        if (!entry.isByteSet && entry.bytes.find('\0') != std::string::npos)
            Fail(where, "a text cannot hold a zero byte");
        entries.push_back(std::move(entry));
    }
    return entries;
}

// Octal escapes never run into a following digit the way \x escapes do.
std::string CLiteral(const std::string& bytes)
{
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?') {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", c);
            out += buf;
        }
    }
    return out + "\"";
}

std::string ByteSetImage(const std::string& bytes)
{
    std::string image;
    auto put32 = [&](unsigned v) {
        for (int i = 0; i < 4; ++i)
            image += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(1);
    put32(static_cast<unsigned>(bytes.size()));
    return image + bytes;
}

void WriteFile(const std::string& path, const std::string& content)
{
    // Rewrite only on change so that dependants are not rebuilt needlessly.
    std::ifstream old(path, std::ios::binary);
    if (old) {
        std::ostringstream current;
        current << old.rdbuf();
        if (current.str() == content)
            return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    if (!out)
        Fail(path, "cannot write");
}

std::string Banner(const std::string& table)
{
    return "// Generated by texttable from " + table + ". Do not edit.\n";
}

std::string ModuleHeader(const std::vector<Entry>& entries, const std::string& ns, const std::string& table)
{
    std::ostringstream out;
    out << Banner(table) << "#pragma once\n\nnamespace " << ns << " {\n\n";
    for (const Entry& e : entries) {
        if (e.isByteSet) {
            out << "alignas(4) inline constexpr char " << e.name << "[] = " << CLiteral(ByteSetImage(e.bytes))
                << ";\n";
        } else {
            out << "inline constexpr char " << e.name << "[] = " << CLiteral(e.bytes) << ";\n";
        }
    }
    out << "\n}  // namespace " << ns << "\n";
    return out.str();
}

std::string BlockImage(const Entry& e)
{
    return e.isByteSet ? ByteSetImage(e.bytes) : e.bytes;
}

std::string StaticBlockHeader(const std::vector<Entry>& entries, const std::string& ns, const std::string& symbol,
                              const std::string& table)
{
    std::ostringstream out;
    out << Banner(table) << "#pragma once\n\n#include <cstddef>\n\nnamespace " << ns << " {\n\n"
        << "// One contiguous read-only block: the runtime treats every pointer into it\n"
        << "// as a constant that is never freed or resized in place.\n"
        << "struct " << symbol << "Layout {\n"
        << "    alignas(4) char kEmptyText[1];\n";
    for (const Entry& e : entries)
        out << "    alignas(4) char " << e.name << "[" << BlockImage(e).size() + 1 << "];\n";
    out << "};\n\nextern const " << symbol << "Layout " << symbol << ";\n\n"
        << "inline const void* " << symbol << "Start() { return &" << symbol << "; }\n"
        << "inline constexpr std::size_t " << symbol << "Size = sizeof(" << symbol << "Layout);\n\n"
        << "}  // namespace " << ns << "\n";
    return out.str();
}

std::string StaticBlockSource(const std::vector<Entry>& entries, const std::string& ns, const std::string& symbol,
                              const std::string& include, const std::string& table)
{
    std::ostringstream out;
    out << Banner(table) << "#include \"" << include << "\"\n\nnamespace " << ns << " {\n\n"
        << "const " << symbol << "Layout " << symbol << " = {\n    \"\",\n";
    for (const Entry& e : entries)
        out << "    " << CLiteral(BlockImage(e)) << ",\n";
    out << "};\n\n}  // namespace " << ns << "\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv)
{
    std::map<std::string, std::string> args;
    for (int i = 1; i + 1 < argc; i += 2)
        args[argv[i]] = argv[i + 1];
    for (const char* required : {"--table", "--header", "--namespace", "--include"})
        if (!args.count(required))
            Fail("texttable", std::string("missing ") + required);

    std::vector<Entry> entries = ReadTable(args["--table"]);
    std::string table = args["--table"].substr(args["--table"].find_last_of('/') + 1);
    if (args.count("--static-block")) {
        if (!args.count("--source"))
            Fail("texttable", "--static-block needs --source");
        const std::string& symbol = args["--static-block"];
        WriteFile(args["--header"], StaticBlockHeader(entries, args["--namespace"], symbol, table));
        WriteFile(args["--source"],
                  StaticBlockSource(entries, args["--namespace"], symbol, args["--include"], table));
    } else {
        WriteFile(args["--header"], ModuleHeader(entries, args["--namespace"], table));
    }
    return 0;
}
