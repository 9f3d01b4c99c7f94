// tavrel_words <words-dir> <template> <out> <script-out>
//
// Checks the page's catalogues of texts, one <code>.txt a language in
// <words-dir>, against each other, and writes <template> to <out> with their
// texts in it: "@w:key@" becomes the key's text in the template's own language
// (its <html lang>), "@LANGUAGES@" the codes of all of them, that language
// first, "@NOSCRIPT@" the other languages' notes for a browser without
// scripts, "@OPTIONS@" a choice of each in its own name. <script-out> gets
// every catalogue as a line of script (TavrelCatalogues), which goes before
// the program's own. A catalogue that lacks a key
// of the template's language, has one more, a placeholder more or less, or a
// plural form fewer than its language has, stops the build: a page with a
// hole in one language is never written.
#include "platform/web/web_markup.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::set<std::string> const categories { "zero", "one", "two", "few", "many", "other" };

struct Catalogue {
    std::string code;
    std::string name;
    std::vector<std::string> plurals;
    std::map<std::string, std::string> words;
    std::map<std::string, int> lines;
};

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string read_file(fs::path const& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Failure("cannot read " + path.string());
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

std::string trimmed(std::string const& text)
{
    auto const first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "\n" is a line break and "\\" a backslash; any other escape is a typing slip.
std::string unescaped(std::string const& text, std::string const& where)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        char const next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (next != 'n' && next != '\\')
            throw Failure(where + ": unknown escape \\" + std::string(1, next) + " (\\n or \\\\ only)");
        out += next == 'n' ? '\n' : '\\';
        ++i;
    }
    return out;
}

Catalogue read_catalogue(fs::path const& path)
{
    Catalogue c;
    c.code = path.stem().string();
    std::istringstream in(read_file(path));
    std::string line;
    int number = 0;
    std::regex const key_form("[a-z][a-z0-9]*(\\.[a-z][a-z0-9]*)*");
    while (std::getline(in, line)) {
        ++number;
        std::string const where = path.filename().string() + ":" + std::to_string(number);
        std::string const text = trimmed(line);
        if (text.empty() || text[0] == '#')
            continue;
        auto const equals = text.find('=');
        if (equals == std::string::npos)
            throw Failure(where + ": not \"key = text\"");
        std::string const key = trimmed(text.substr(0, equals));
        std::string const value = unescaped(trimmed(text.substr(equals + 1)), where);
        if (key == "@name") {
            c.name = value;
        } else if (key == "@plurals") {
            std::istringstream words(value);
            c.plurals = { std::istream_iterator<std::string>(words), std::istream_iterator<std::string>() };
            for (auto const& category : c.plurals)
                if (!categories.count(category))
                    throw Failure(where + ": \"" + category + "\" is no plural category");
            if (std::find(c.plurals.begin(), c.plurals.end(), "other") == c.plurals.end())
                throw Failure(where + ": every language has the plural category \"other\"");
        } else if (!std::regex_match(key, key_form)) {
            throw Failure(where + ": \"" + key + "\" is no key (lower-case words joined by dots)");
        } else if (!c.words.emplace(key, value).second) {
            throw Failure(where + ": " + key + " twice");
        } else {
            c.lines[key] = number;
        }
    }
    if (c.name.empty() || c.plurals.empty())
        throw Failure(path.filename().string() + ": needs an \"@name = \" and an \"@plurals = \" line");
    return c;
}

// The key a plural form belongs to ("picture.roads" for "picture.roads.few"),
// or "" for a key of one text.
std::string plural_base(std::string const& key)
{
    auto const dot = key.rfind('.');
    return dot != std::string::npos && categories.count(key.substr(dot + 1)) ? key.substr(0, dot) : "";
}

std::set<std::string> placeholders(std::string const& text)
{
    static std::regex const placeholder("\\{[a-z]+\\}");
    return { std::sregex_token_iterator(text.begin(), text.end(), placeholder), std::sregex_token_iterator() };
}

// The keys of a catalogue as one text or one count's text each, and for each
// its placeholders.
std::map<std::string, std::set<std::string>> shape(Catalogue const& c)
{
    std::map<std::string, std::set<std::string>> keys;
    for (auto const& [key, text] : c.words) {
        std::string const base = plural_base(key);
        keys[base.empty() ? key : base + ".*"] = placeholders(text);
    }
    return keys;
}

std::string joined(std::set<std::string> const& names)
{
    std::string out;
    for (auto const& name : names)
        out += (out.empty() ? "" : " ") + name;
    return out.empty() ? "none" : out;
}

void check(Catalogue const& c, Catalogue const& model)
{
    std::string const file = c.code + ".txt: ";
    auto const keys = shape(c);
    auto const model_keys = shape(model);
    for (auto const& [key, names] : model_keys) {
        auto const found = keys.find(key);
        if (found == keys.end())
            throw Failure(file + "lacks " + key + " (" + model.code + ".txt has it)");
    }
    for (auto const& [key, names] : keys)
        if (!model_keys.count(key))
            throw Failure(file + key + " is no key of " + model.code + ".txt");
    for (auto const& [key, text] : c.words) {
        std::string const base = plural_base(key);
        std::set<std::string> const model_names = model_keys.at(base.empty() ? key : base + ".*");
        if (placeholders(text) != model_names)
            throw Failure(c.code + ".txt:" + std::to_string(c.lines.at(key)) + ": " + key + " has the placeholders "
                + joined(placeholders(text)) + ", " + model.code + ".txt " + joined(model_names));
        if (!base.empty()
            && std::find(c.plurals.begin(), c.plurals.end(), key.substr(base.size() + 1)) == c.plurals.end())
            throw Failure(
                c.code + ".txt:" + std::to_string(c.lines.at(key)) + ": " + key + " is no plural form of " + c.name);
    }
    for (auto const& [key, names] : keys)
        if (key.ends_with(".*"))
            for (auto const& category : c.plurals)
                if (!c.words.count(key.substr(0, key.size() - 1) + category))
                    throw Failure(
                        file + "lacks " + key.substr(0, key.size() - 1) + category + ", a plural form of " + c.name);
}

// A string as JSON writes it.
std::string json(std::string const& text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char const ch = static_cast<unsigned char>(text[i]);
        if (ch == '"' || ch == '\\')
            out += std::string("\\") + static_cast<char>(ch);
        else if (ch == '\n')
            out += "\\n";
        else if (ch < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\u%04x", ch);
            out += code;
        } else
            out += static_cast<char>(ch);
    }
    return out + "\"";
}

std::string replaced(std::string text, std::string const& from, std::string const& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string page(std::string page, std::vector<Catalogue> const& languages)
{
    Catalogue const& own = languages.front();
    std::string codes;
    std::string noscript;
    std::string options;
    for (auto const& c : languages) {
        codes += (codes.empty() ? "\"" : ",\"") + c.code + "\"";
        options += "<option value=\"" + c.code + "\" lang=\"" + c.code + "\">" + web::escaped(c.name) + "</option>";
        if (&c != &own)
            noscript += "\n<span lang=\"" + c.code + "\">" + web::escaped(c.words.at("page.noscript")) + "</span>";
    }
    std::regex const place("@w:([a-z0-9.]+)@");
    std::smatch match;
    std::string out;
    while (std::regex_search(page, match, place)) {
        auto const found = own.words.find(match[1]);
        if (found == own.words.end())
            throw Failure("the page asks for " + match[1].str() + ", which " + own.code + ".txt lacks");
        out += match.prefix().str() + web::escaped(found->second);
        page = match.suffix().str();
    }
    out += page;
    out = replaced(out, "@LANGUAGES@", codes);
    out = replaced(out, "@NOSCRIPT@", noscript);
    return replaced(out, "@OPTIONS@", options);
}

// Every catalogue, for the page's script: its own language first.
std::string catalogues(std::vector<Catalogue> const& languages)
{
    std::string out = "var TavrelCatalogues = {";
    for (auto const& c : languages) {
        if (&c != &languages.front())
            out += ',';
        out += json(c.code) + ":{\"name\":" + json(c.name) + ",\"words\":{";
        bool first = true;
        for (auto const& [key, text] : c.words) {
            if (!first)
                out += ',';
            out += json(key) + ":" + json(text);
            first = false;
        }
        out += "}}";
    }
    return out + "};\n";
}

void write(char const* path, std::string const& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw Failure(std::string("cannot write ") + path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fputs("usage: tavrel_words <words-dir> <template> <out> <script-out>\n", stderr);
        return 2;
    }
    try {
        std::string const page_template = read_file(argv[2]);
        std::smatch match;
        if (!std::regex_search(page_template, match, std::regex("<html lang=\"([a-z]+)\"")))
            throw Failure(std::string(argv[2]) + " names no language in <html lang>");
        std::string const own = match[1];
        std::vector<Catalogue> languages;
        for (auto const& entry : fs::directory_iterator(argv[1]))
            if (entry.path().extension() == ".txt")
                languages.push_back(read_catalogue(entry.path()));
        // The template's own language first, then the others by their codes.
        std::sort(languages.begin(), languages.end(), [&](Catalogue const& a, Catalogue const& b) {
            return (a.code == own) != (b.code == own) ? a.code == own : a.code < b.code;
        });
        if (languages.empty() || languages.front().code != own)
            throw Failure(std::string(argv[1]) + " has no " + own + ".txt, the page's own language");
        for (auto const& c : languages)
            check(c, languages.front());
        write(argv[3], page(page_template, languages));
        write(argv[4], catalogues(languages));
    } catch (std::exception const& e) {
        std::fprintf(stderr, "tavrel_words: %s\n", e.what());
        return 1;
    }
    return 0;
}
