// SPDX-License-Identifier: GPL-3.0-or-later
#include "mci/mci_parser.h"

#include "mci/mci_errors.h"

#include <algorithm>
#include <array>
#include <limits>

namespace pf {
namespace {

enum class Arg { None, Integer, Rect, Text, Constant, Integer_Or_Constant };

struct Keyword {
    std::string_view phrase;
    Arg arg = Arg::None;
    std::vector<std::string_view> constants = {};
    std::uint32_t badConstant = MCIERR_BAD_CONSTANT;
};

struct Verb_Grammar {
    std::string_view name;
    Mci_Verb verb;
    std::vector<Keyword> keywords;
    bool oneItem = false;  // queries take exactly one item
};

const std::vector<std::string_view> On_Off = {"on", "off"};

// Phrases of more words come first, so "audio left" wins over "audio".
const Verb_Grammar Grammar[] = {
    {"open",
     Mci_Verb::Open,
     {{"type", Arg::Text},
      {"alias", Arg::Text},
      {"parent", Arg::Integer},
      {"style", Arg::Integer_Or_Constant, {"child", "overlapped", "popup"}},
      {"shareable"}}},
    {"close", Mci_Verb::Close, {}},
    {"play", Mci_Verb::Play, {{"from", Arg::Integer}, {"to", Arg::Integer}, {"fullscreen"}}},
    {"stop", Mci_Verb::Stop, {}},
    {"pause", Mci_Verb::Pause, {}},
    {"resume", Mci_Verb::Resume, {}},
    {"seek", Mci_Verb::Seek, {{"to", Arg::Integer_Or_Constant, {"start", "end"}}}, true},
    {"set",
     Mci_Verb::Set,
     {{"time format", Arg::Constant, {"ms", "milliseconds", "frames"}, MCIERR_BAD_TIME_FORMAT},
      {"audio left", Arg::Constant, On_Off},
      {"audio right", Arg::Constant, On_Off},
      {"audio all", Arg::Constant, On_Off},
      {"audio", Arg::Constant, On_Off},
      {"speed", Arg::Integer},
      {"video", Arg::Constant, On_Off}}},
    {"setaudio",
     Mci_Verb::Setaudio,
     {{"left volume to", Arg::Integer}, {"right volume to", Arg::Integer}, {"volume to", Arg::Integer}},
     true},
    {"status",
     Mci_Verb::Status,
     {{"time format"},
      {"format tag"},
      {"left volume"},
      {"right volume"},
      {"length"},
      {"position"},
      {"mode"},
      {"ready"},
      {"volume"},
      {"speed"}},
     true},
    {"where", Mci_Verb::Where, {{"destination"}, {"source"}}, true},
    {"put",
     Mci_Verb::Put,
     {{"window client at", Arg::Rect}, {"window at", Arg::Rect}, {"destination at", Arg::Rect}},
     true},
    {"info", Mci_Verb::Info, {{"product"}, {"name"}, {"copyright"}, {"file"}}, true},
    {"configure", Mci_Verb::Configure, {}},
};

struct Token {
    std::string text;
    std::size_t pos = 0;
    bool quoted = false;
};

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Same_Word(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool Is_Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads the quoted word that opens at text[open] into `word`, a doubled quotation mark as one;
// the offset just past its closing mark, or npos when it has none.
std::size_t Read_Quoted(std::string_view text, std::size_t open, std::string& word)
{
    for (std::size_t i = open + 1;;) {
        const std::size_t mark = text.find('"', i);
        if (mark == std::string_view::npos)
            return mark;
        word.append(text.substr(i, mark - i));
        if (mark + 1 >= text.size() || text[mark + 1] != '"')
            return mark + 1;
        word.push_back('"');
        i = mark + 2;
    }
}

// Splits at blanks; a double-quoted word may hold blanks and doubled quotation marks.
std::uint32_t Tokenize(std::string_view text, std::vector<Token>& out, std::size_t& errorPos)
{
    std::size_t i = 0;
    while (i < text.size()) {
        if (Is_Blank(text[i])) {
            ++i;
            continue;
        }
        Token t;
        t.pos = i;
        if (text[i] == '"') {
            i = Read_Quoted(text, i, t.text);
            if (i == std::string_view::npos) {
                errorPos = t.pos;
                return MCIERR_NO_CLOSING_QUOTE;
            }
            t.quoted = true;
            if (i < text.size() && !Is_Blank(text[i])) {
                errorPos = i;
                return MCIERR_EXTRA_CHARACTERS;
            }
        } else {
            const std::size_t start = i;
            while (i < text.size() && !Is_Blank(text[i]))
                ++i;
            t.text = std::string(text.substr(start, i - start));
        }
        out.push_back(std::move(t));
    }
    return MCI_OK;
}

bool Read_Integer(const std::string& s, std::int32_t& value)
{
    std::size_t i = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
    if (i == s.size())
        return false;
    std::int64_t v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        v = v * 10 + (s[i] - '0');
        if (v > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return false;
    }
    if (s[0] == '-')
        v = -v;
    if (v > std::numeric_limits<std::int32_t>::max() || v < std::numeric_limits<std::int32_t>::min())
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

// Number of words of `phrase` matched at tokens[at...], or 0.
std::size_t Match_Phrase(std::string_view phrase, const std::vector<Token>& tokens, std::size_t at)
{
    std::size_t n = 0;
    while (!phrase.empty()) {
        const std::size_t blank = phrase.find(' ');
        const std::string_view word = phrase.substr(0, blank);
        if (at + n >= tokens.size() || tokens[at + n].quoted || !Same_Word(tokens[at + n].text, word))
            return 0;
        ++n;
        phrase = blank == std::string_view::npos ? std::string_view{} : phrase.substr(blank + 1);
    }
    return n;
}

// The keyword of `grammar` spelt by the words at tokens[at...], and in `words` how many words it
// takes; null when none is.
const Keyword* Match_Keyword(const Verb_Grammar& grammar, const std::vector<Token>& tokens, std::size_t at,
                             std::size_t& words)
{
    for (const Keyword& k : grammar.keywords)
        if ((words = Match_Phrase(k.phrase, tokens, at)) > 0)
            return &k;
    return nullptr;
}

struct Cursor {
    const std::vector<Token>& tokens;
    std::size_t at;
    std::size_t endPos;  // offset reported when a value is missing at the end
    std::size_t Pos() const { return at < tokens.size() ? tokens[at].pos : endPos; }
};

// Reads the value of keyword `k` into `flag`; returns 0 or the error code (position in cur).
std::uint32_t Read_Value(const Keyword& k, Cursor& cur, Mci_Flag& flag)
{
    const int count = k.arg == Arg::Rect ? 4 : k.arg == Arg::None ? 0 : 1;
    for (int n = 0; n < count; ++n) {
        if (cur.at >= cur.tokens.size())
            return k.arg == Arg::Text ? MCIERR_MISSING_STRING_ARGUMENT : MCIERR_MISSING_PARAMETER;
        const Token& t = cur.tokens[cur.at];
        if (k.arg == Arg::Text) {
            flag.word = t.text;
        } else if (k.arg == Arg::Constant || k.arg == Arg::Integer_Or_Constant) {
            if (k.arg == Arg::Integer_Or_Constant && Read_Integer(t.text, flag.number[0])) {
                flag.hasNumber = true;
            } else {
                const auto it = std::find_if(k.constants.begin(), k.constants.end(),
                                             [&](std::string_view c) { return Same_Word(c, t.text); });
                if (it == k.constants.end())
                    return k.arg == Arg::Constant ? k.badConstant : MCIERR_BAD_INTEGER;
                flag.word = std::string(*it);
            }
        } else {
            if (!Read_Integer(t.text, flag.number[n]))
                return MCIERR_BAD_INTEGER;
            // Window coordinates stay where sums of a corner and an extent cannot overflow.
            if (k.arg == Arg::Rect && (flag.number[n] > Mci_Max_Coordinate || flag.number[n] < -Mci_Max_Coordinate))
                return MCIERR_OUTOFRANGE;
            flag.hasNumber = true;
        }
        ++cur.at;
    }
    return MCI_OK;
}

}  // namespace

std::string Mci_Quoted(std::string_view word)
{
    std::string quoted = "\"";
    for (const char c : word) {
        quoted.push_back(c);
        if (c == '"')
            quoted.push_back('"');
    }
    quoted.push_back('"');
    return quoted;
}

const Mci_Flag* Mci_Command::Find(std::string_view key) const
{
    for (const Mci_Flag& f : flags)
        if (f.key == key)
            return &f;
    return nullptr;
}

Mci_Parse_Result Parse_Mci_Command(std::string_view text)
{
    Mci_Parse_Result r;
    std::vector<Token> tokens;
    r.code = Tokenize(text, tokens, r.errorPos);
    if (r.code != MCI_OK)
        return r;
    if (tokens.empty()) {
        r.code = MCIERR_MISSING_COMMAND_STRING;
        return r;
    }
    const Verb_Grammar* grammar = nullptr;
    for (const Verb_Grammar& g : Grammar)
        if (!tokens[0].quoted && Same_Word(g.name, tokens[0].text))
            grammar = &g;
    if (!grammar) {
        r.code = MCIERR_UNRECOGNIZED_COMMAND;
        return r;
    }
    r.hasVerb = true;
    r.command.verb = grammar->verb;
    if (tokens.size() < 2) {
        r.code = MCIERR_MISSING_DEVICE_NAME;
        r.errorPos = text.size();
        return r;
    }
    r.hasDevice = true;
    r.command.device = tokens[1].text;

    Cursor cur{tokens, 2, text.size()};
    while (cur.at < tokens.size()) {
        const std::size_t flagPos = cur.Pos();
        std::size_t words = 0;
        const Keyword* match = Match_Keyword(*grammar, tokens, cur.at, words);
        if (!match) {
            r.code = MCIERR_UNRECOGNIZED_KEYWORD;
            r.errorPos = flagPos;
            return r;
        }
        if (r.command.Find(match->phrase) || (grammar->oneItem && !r.command.flags.empty())) {
            r.code = r.command.Find(match->phrase) ? MCIERR_DUPLICATE_FLAGS : MCIERR_FLAGS_NOT_COMPATIBLE;
            r.errorPos = flagPos;
            return r;
        }
        cur.at += words;
        Mci_Flag flag;
        flag.key = std::string(match->phrase);
        if (const std::uint32_t code = Read_Value(*match, cur, flag); code != MCI_OK) {
            r.code = code;
            r.errorPos = cur.Pos();
            return r;
        }
        r.command.flags.push_back(std::move(flag));
    }
    if (grammar->oneItem && r.command.flags.empty()) {
        r.code = MCIERR_MISSING_PARAMETER;
        r.errorPos = text.size();
    }
    return r;
}

}  // namespace pf
