// Reading resource scripts: a small preprocessor (#include, #define, #if...),
// the tokenizer and the parser of the resource statements.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "platform/gbk/gbk.h"
#include "w32rc.h"

namespace w32rc {
namespace {

namespace fs = std::filesystem;

enum class Tok { Ident, Number, String, Punct, End };

struct Token {
    Tok kind = Tok::End;
    std::string text;  // identifier, punctuator, or string bytes (GBK)
    std::string utf8;  // strings: the decoded text before conversion (file names)
    int64_t value = 0;
    const std::string* file = nullptr;
    int line = 0;
};

[[noreturn]] void Fail(const std::string& file, int line, const std::string& msg) {
    throw Error(file + ":" + std::to_string(line) + ": " + msg);
}

[[noreturn]] void Fail(const Token& t, const std::string& msg) {
    Fail(t.file ? *t.file : std::string("<input>"), t.line, msg);
}

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool IsKeyword(const Token& t, const char* kw) {
    if (t.kind != Tok::Ident || t.text.size() != std::strlen(kw)) return false;
    for (size_t i = 0; i < t.text.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(t.text[i])) != kw[i]) return false;
    return true;
}

bool IsPunct(const Token& t, const char* p) { return t.kind == Tok::Punct && t.text == p; }

std::string Describe(const Token& t) {
    switch (t.kind) {
    case Tok::End: return "end of input";
    case Tok::String: return "a string";
    case Tok::Number: return "'" + std::to_string(t.value) + "'";
    default: return "'" + t.text + "'";
    }
}

// Converts UTF-8 script text to GBK; text GBK cannot hold is an error.
std::string ToGbk(const std::string& utf8, const std::string& file, int line) {
    std::string out = gbk::FromUtf8(utf8);
    if (gbk::ToUtf8(out) != utf8)
        Fail(file, line, "text is not valid UTF-8 or has characters GBK cannot hold: \"" + utf8 + "\"");
    return out;
}

// ---------------------------------------------------------------------------
// Tokenizer of one logical line
// ---------------------------------------------------------------------------
class LineLexer {
public:
    LineLexer(const std::string& s, const std::string* file, int line) : s_(s), file_(file), line_(line) {}

    void Run(std::vector<Token>& out) {
        while (true) {
            while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
            if (i_ >= s_.size()) return;
            out.push_back(Next());
        }
    }

private:
    Token Make(Tok k) {
        Token t;
        t.kind = k;
        t.file = file_;
        t.line = line_;
        return t;
    }

    Token Next() {
        char c = s_[i_];
        if ((c == 'L' || c == 'l') && i_ + 1 < s_.size() && s_[i_ + 1] == '"') {
            ++i_;
            return String();
        }
        if (c == '"') return String();
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            Token t = Make(Tok::Ident);
            while (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_'))
                t.text.push_back(s_[i_++]);
            return t;
        }
        if (std::isdigit(static_cast<unsigned char>(c))) return Number();
        if (c == '\'') return CharLiteral();
        static const char* two[] = {"==", "!=", "<=", ">=", "&&", "||", "<<", ">>"};
        for (const char* p : two)
            if (s_.compare(i_, 2, p) == 0) {
                Token t = Make(Tok::Punct);
                t.text = p;
                i_ += 2;
                return t;
            }
        if (std::strchr(",|&+-*/%~!()<>^{}", c)) {
            Token t = Make(Tok::Punct);
            t.text = std::string(1, c);
            ++i_;
            return t;
        }
        Fail(*file_, line_, std::string("unexpected character '") + c + "'");
    }

    Token Number() {
        Token t = Make(Tok::Number);
        uint64_t v = 0;
        if (s_[i_] == '0' && i_ + 1 < s_.size() && (s_[i_ + 1] == 'x' || s_[i_ + 1] == 'X')) {
            i_ += 2;
            size_t start = i_;
            while (i_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[i_]))) {
                char d = s_[i_++];
                v = v * 16 + (std::isdigit(static_cast<unsigned char>(d)) ? d - '0' : (std::tolower(d) - 'a' + 10));
                if (v > 0xFFFFFFFFull) Fail(*file_, line_, "number too large");
            }
            if (i_ == start) Fail(*file_, line_, "bad hexadecimal number");
        } else {
            while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) {
                v = v * 10 + (s_[i_++] - '0');
                if (v > 0xFFFFFFFFull) Fail(*file_, line_, "number too large");
            }
        }
        while (i_ < s_.size() && std::strchr("LlUu", s_[i_])) ++i_;
        if (i_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i_])) || s_[i_] == '_'))
            Fail(*file_, line_, "bad number");
        t.value = static_cast<int64_t>(v);
        t.text = std::to_string(v);
        return t;
    }

    Token CharLiteral() {
        Token t = Make(Tok::Number);
        ++i_;
        if (i_ >= s_.size()) Fail(*file_, line_, "unterminated character literal");
        std::string bytes;
        if (s_[i_] == '\\')
            bytes.push_back(Escape());
        else
            bytes.push_back(s_[i_++]);
        if (i_ >= s_.size() || s_[i_] != '\'') Fail(*file_, line_, "bad character literal");
        ++i_;
        t.value = static_cast<unsigned char>(bytes[0]);
        return t;
    }

    // At a backslash: decodes one escape and returns its byte.
    char Escape() {
        ++i_;
        if (i_ >= s_.size()) Fail(*file_, line_, "unterminated string");
        char c = s_[i_++];
        switch (c) {
        case 'n': return '\n';
        case 't': return '\t';
        case 'r': return '\r';
        case 'a': return '\a';
        case 'b': return '\b';
        case 'f': return '\f';
        case 'v': return '\v';
        case '0':
        case '1':
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7': {
            int v = c - '0';
            for (int k = 0; k < 2 && i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '7'; ++k)
                v = v * 8 + (s_[i_++] - '0');
            return static_cast<char>(v & 0xFF);
        }
        case 'x':
        case 'X': {
            int v = 0, n = 0;
            while (n < 2 && i_ < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[i_]))) {
                char d = s_[i_++];
                v = v * 16 + (std::isdigit(static_cast<unsigned char>(d)) ? d - '0' : (std::tolower(d) - 'a' + 10));
                ++n;
            }
            if (n == 0) Fail(*file_, line_, "bad \\x escape");
            return static_cast<char>(v);
        }
        default: return c;  // \\ \" \' and unknown escapes stand for the character
        }
    }

    Token String() {
        Token t = Make(Tok::String);
        ++i_;             // opening quote
        std::string run;  // plain UTF-8 text waiting for conversion
        auto flush = [&] {
            t.text += ToGbk(run, *file_, line_);
            run.clear();
        };
        while (true) {
            if (i_ >= s_.size()) Fail(*file_, line_, "unterminated string");
            char c = s_[i_];
            if (c == '"') {
                if (i_ + 1 < s_.size() && s_[i_ + 1] == '"') {  // "" stands for a quote
                    run.push_back('"');
                    t.utf8.push_back('"');
                    i_ += 2;
                    continue;
                }
                ++i_;
                break;
            }
            if (c == '\\') {
                char b = Escape();
                flush();
                t.text.push_back(b);
                t.utf8.push_back(b);
                continue;
            }
            run.push_back(c);
            t.utf8.push_back(c);
            ++i_;
        }
        flush();
        return t;
    }

    const std::string& s_;
    const std::string* file_;
    int line_;
    size_t i_ = 0;
};

// ---------------------------------------------------------------------------
// Expressions: shared by #if and by the statements
// ---------------------------------------------------------------------------
struct Macro {
    std::vector<Token> body;
};

class Evaluator {
public:
    // inDirective: unknown names are 0 and `defined` works, as in #if.
    Evaluator(const std::vector<Token>& toks, size_t pos, size_t end, const std::map<std::string, Macro>& macros,
              bool inDirective, int depth = 0)
        : t_(toks), pos_(pos), end_(end), macros_(macros), directive_(inDirective), depth_(depth) {}

    size_t pos() const { return pos_; }
    bool AtEnd() const { return pos_ >= end_; }

    int64_t Expr() { return LogicalOr(); }

    // A style: starts from `value`, "NOT x" clears bits, other terms set them.
    uint32_t Style(uint32_t value) {
        while (true) {
            if (IsKeyword(Peek(), "NOT")) {
                ++pos_;
                value &= ~static_cast<uint32_t>(Unary());
            } else {
                value |= static_cast<uint32_t>(BitXor());
            }
            if (!IsPunct(Peek(), "|")) return value;
            ++pos_;
        }
    }

    const Token& Peek() const {
        static const Token end;
        return pos_ < end_ ? t_[pos_] : (end_ > 0 && end_ <= t_.size() ? EndAfter(t_[end_ - 1]) : end);
    }

private:
    static const Token& EndAfter(const Token& last) {
        static thread_local Token end;
        end = Token();
        end.file = last.file;
        end.line = last.line;
        return end;
    }

    int64_t LogicalOr() {
        int64_t v = LogicalAnd();
        while (IsPunct(Peek(), "||")) {
            ++pos_;
            int64_t r = LogicalAnd();
            v = (v || r) ? 1 : 0;
        }
        return v;
    }
    int64_t LogicalAnd() {
        int64_t v = BitOr();
        while (IsPunct(Peek(), "&&")) {
            ++pos_;
            int64_t r = BitOr();
            v = (v && r) ? 1 : 0;
        }
        return v;
    }
    int64_t BitOr() {
        int64_t v = BitXor();
        while (IsPunct(Peek(), "|")) {
            ++pos_;
            v |= BitXor();
        }
        return v;
    }
    int64_t BitXor() {
        int64_t v = BitAnd();
        while (IsPunct(Peek(), "^")) {
            ++pos_;
            v ^= BitAnd();
        }
        return v;
    }
    int64_t BitAnd() {
        int64_t v = Equality();
        while (IsPunct(Peek(), "&")) {
            ++pos_;
            v &= Equality();
        }
        return v;
    }
    int64_t Equality() {
        int64_t v = Relational();
        while (IsPunct(Peek(), "==") || IsPunct(Peek(), "!=")) {
            bool eq = Peek().text == "==";
            ++pos_;
            int64_t r = Relational();
            v = ((v == r) == eq) ? 1 : 0;
        }
        return v;
    }
    int64_t Relational() {
        int64_t v = Shift();
        while (IsPunct(Peek(), "<") || IsPunct(Peek(), ">") || IsPunct(Peek(), "<=") || IsPunct(Peek(), ">=")) {
            std::string op = Peek().text;
            ++pos_;
            int64_t r = Shift();
            v = op == "<" ? v < r : op == ">" ? v > r : op == "<=" ? v <= r : v >= r;
        }
        return v;
    }
    int64_t Shift() {
        int64_t v = Additive();
        while (IsPunct(Peek(), "<<") || IsPunct(Peek(), ">>")) {
            bool left = Peek().text == "<<";
            ++pos_;
            int64_t r = Additive();
            if (r < 0 || r > 62) Fail(Peek(), "bad shift count");
            v = left ? static_cast<int64_t>(static_cast<uint64_t>(v) << r) : v >> r;
        }
        return v;
    }
    int64_t Additive() {
        int64_t v = Multiplicative();
        while (IsPunct(Peek(), "+") || IsPunct(Peek(), "-")) {
            bool plus = Peek().text == "+";
            ++pos_;
            int64_t r = Multiplicative();
            v = plus ? v + r : v - r;
        }
        return v;
    }
    int64_t Multiplicative() {
        int64_t v = Unary();
        while (IsPunct(Peek(), "*") || IsPunct(Peek(), "/") || IsPunct(Peek(), "%")) {
            std::string op = Peek().text;
            const Token& at = Peek();
            ++pos_;
            int64_t r = Unary();
            if (op == "*") {
                v *= r;
            } else {
                if (r == 0) Fail(at, "division by zero");
                v = op == "/" ? v / r : v % r;
            }
        }
        return v;
    }
    int64_t Unary() {
        const Token& t = Peek();
        if (IsPunct(t, "-")) {
            ++pos_;
            return -Unary();
        }
        if (IsPunct(t, "+")) {
            ++pos_;
            return Unary();
        }
        if (IsPunct(t, "~")) {
            ++pos_;
            return static_cast<int64_t>(~static_cast<uint32_t>(Unary()));
        }
        if (IsPunct(t, "!")) {
            ++pos_;
            return Unary() ? 0 : 1;
        }
        if (IsKeyword(t, "NOT")) {
            ++pos_;
            return static_cast<int64_t>(~static_cast<uint32_t>(Unary()));
        }
        return Primary();
    }
    int64_t Primary() {
        const Token& t = Peek();
        if (IsPunct(t, "(")) {
            ++pos_;
            int64_t v = Expr();
            if (!IsPunct(Peek(), ")")) Fail(Peek(), "expected ')' but found " + Describe(Peek()));
            ++pos_;
            return v;
        }
        if (t.kind == Tok::Number) {
            ++pos_;
            return t.value;
        }
        if (t.kind == Tok::Ident) {
            if (directive_ && t.text == "defined") {
                ++pos_;
                bool paren = IsPunct(Peek(), "(");
                if (paren) ++pos_;
                if (Peek().kind != Tok::Ident) Fail(Peek(), "expected a name after 'defined'");
                bool def = macros_.count(Peek().text) > 0;
                ++pos_;
                if (paren) {
                    if (!IsPunct(Peek(), ")")) Fail(Peek(), "expected ')'");
                    ++pos_;
                }
                return def ? 1 : 0;
            }
            ++pos_;
            return Name(t);
        }
        Fail(t, "expected a number but found " + Describe(t));
    }

    int64_t Name(const Token& t) {
        auto it = macros_.find(t.text);
        if (it != macros_.end()) {
            if (depth_ > 32) Fail(t, "macro '" + t.text + "' expands without end");
            const std::vector<Token>& body = it->second.body;
            if (body.empty()) Fail(t, "'" + t.text + "' is defined without a value");
            Evaluator sub(body, 0, body.size(), macros_, directive_, depth_ + 1);
            int64_t v = sub.Expr();
            if (!sub.AtEnd()) Fail(t, "the value of '" + t.text + "' is not a number");
            return v;
        }
        int64_t v = 0;
        if (LookupConstant(t.text, &v)) return v;
        if (directive_) return 0;
        Fail(t, "unknown name '" + t.text + "'");
    }

    const std::vector<Token>& t_;
    size_t pos_;
    size_t end_;
    const std::map<std::string, Macro>& macros_;
    bool directive_;
    int depth_;
};

// ---------------------------------------------------------------------------
// Preprocessor: turns files into one token stream
// ---------------------------------------------------------------------------
class Preprocessor {
public:
    Preprocessor(const Options& opt, std::set<std::string>* deps) : opt_(opt), deps_(deps) {}

    std::map<std::string, Macro>& macros() { return macros_; }

    void File(const fs::path& path, bool directivesOnly, std::vector<Token>& out, int depth = 0) {
        if (depth > 32) throw Error(path.string() + ": #include nested too deeply");
        std::ifstream in(path, std::ios::binary);
        if (!in) throw Error(path.string() + ": cannot open");
        std::stringstream ss;
        ss << in.rdbuf();
        std::string text = ss.str();
        std::string canonical = fs::absolute(path).lexically_normal().string();
        if (once_.count(canonical)) return;  // #pragma once
        deps_->insert(canonical);
        const std::string* name = Intern(path.string());
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);

        std::vector<std::pair<int, std::string>> lines = LogicalLines(text, *name);
        struct Cond {
            bool active;    // this branch is being read
            bool taken;     // some branch of this #if was read
            bool parentOn;  // the enclosing text is being read
        };
        std::vector<Cond> conds;
        auto on = [&] { return conds.empty() || conds.back().active; };

        for (auto& [lineNo, line] : lines) {
            size_t p = line.find_first_not_of(" \t\f\v\r");
            if (p == std::string::npos) continue;
            if (line[p] != '#') {
                if (on() && !directivesOnly) {
                    std::vector<Token> raw;
                    LineLexer(line, name, lineNo).Run(raw);
                    std::set<std::string> active;
                    Expand(raw, out, active, name, lineNo);
                }
                continue;
            }
            size_t q = line.find_first_not_of(" \t", p + 1);
            std::string rest = q == std::string::npos ? "" : line.substr(q);
            size_t e = 0;
            while (e < rest.size() && (std::isalnum(static_cast<unsigned char>(rest[e])) || rest[e] == '_')) ++e;
            std::string dir = rest.substr(0, e);
            std::string args = rest.substr(e);

            if (dir == "if" || dir == "ifdef" || dir == "ifndef") {
                bool parent = on();
                bool v = false;
                if (parent) {
                    if (dir == "if")
                        v = Condition(args, name, lineNo);
                    else
                        v = macros_.count(FirstName(args, name, lineNo)) > 0;
                    if (dir == "ifndef") v = !v;
                }
                conds.push_back({parent && v, parent && v, parent});
            } else if (dir == "elif") {
                if (conds.empty()) Fail(*name, lineNo, "#elif without #if");
                Cond& c = conds.back();
                if (c.parentOn && !c.taken) {
                    c.active = Condition(args, name, lineNo);
                    c.taken = c.active;
                } else {
                    c.active = false;
                }
            } else if (dir == "else") {
                if (conds.empty()) Fail(*name, lineNo, "#else without #if");
                Cond& c = conds.back();
                c.active = c.parentOn && !c.taken;
                c.taken = true;
            } else if (dir == "endif") {
                if (conds.empty()) Fail(*name, lineNo, "#endif without #if");
                conds.pop_back();
            } else if (!on()) {
                continue;
            } else if (dir == "define") {
                Define(args, name, lineNo);
            } else if (dir == "undef") {
                macros_.erase(FirstName(args, name, lineNo));
            } else if (dir == "include") {
                Include(path, args, name, lineNo, out, depth);
            } else if (dir == "error") {
                Fail(*name, lineNo, "#error" + args);
            } else if (dir == "pragma" && FirstWord(args) == "once") {
                once_.insert(canonical);
            } else if (dir == "pragma" || dir == "line" || dir.empty()) {
                // code_page and the like: the scripts are UTF-8 throughout
            } else {
                Fail(*name, lineNo, "unknown directive #" + dir);
            }
        }
        if (!conds.empty()) Fail(*name, static_cast<int>(lines.empty() ? 1 : lines.back().first), "#if without #endif");
    }

    const std::string* Intern(const std::string& s) {
        auto it = names_.insert(s).first;
        return &*it;
    }

private:
    // Replaces #defined names by their values, as defined at this point of
    // the script (a name is not expanded inside its own value).
    void Expand(const std::vector<Token>& in, std::vector<Token>& out, std::set<std::string>& active,
                const std::string* file, int line) {
        for (const Token& t : in) {
            auto it = t.kind == Tok::Ident ? macros_.find(t.text) : macros_.end();
            if (it == macros_.end() || active.count(t.text)) {
                Token copy = t;
                copy.file = file;
                copy.line = line;
                out.push_back(std::move(copy));
                continue;
            }
            active.insert(t.text);
            Expand(it->second.body, out, active, file, line);
            active.erase(t.text);
        }
    }

    // Splits into logical lines: comments become blanks, backslash-newline
    // joins lines; each line keeps the number of its first physical line.
    static std::vector<std::pair<int, std::string>> LogicalLines(const std::string& text, const std::string& file) {
        std::vector<std::pair<int, std::string>> lines;
        std::string cur;
        int line = 1, startLine = 1;
        bool inString = false, inBlock = false;
        size_t i = 0;
        while (i < text.size()) {
            char c = text[i];
            if (inBlock) {
                if (c == '*' && i + 1 < text.size() && text[i + 1] == '/') {
                    inBlock = false;
                    i += 2;
                    cur.push_back(' ');
                    continue;
                }
                if (c == '\n') ++line;
                ++i;
                continue;
            }
            if (c == '\\' && i + 1 < text.size() &&
                (text[i + 1] == '\n' || (text[i + 1] == '\r' && i + 2 < text.size() && text[i + 2] == '\n'))) {
                i += text[i + 1] == '\n' ? 2 : 3;
                ++line;
                continue;
            }
            if (c == '\r') {
                ++i;
                continue;
            }
            if (c == '\n') {
                // A string left open is reported by the tokenizer, if the
                // line is read at all (it may be in a skipped #if branch).
                inString = false;
                lines.emplace_back(startLine, cur);
                cur.clear();
                ++line;
                startLine = line;
                ++i;
                continue;
            }
            if (inString) {
                if (c == '\\' && i + 1 < text.size() && text[i + 1] != '\n') {
                    cur.push_back(c);
                    cur.push_back(text[i + 1]);
                    i += 2;
                    continue;
                }
                if (c == '"') inString = false;
                cur.push_back(c);
                ++i;
                continue;
            }
            if (c == '"') {
                inString = true;
                cur.push_back(c);
                ++i;
                continue;
            }
            if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
                while (i < text.size() && text[i] != '\n') {
                    // a backslash at the end of a // comment does not continue it here
                    ++i;
                }
                continue;
            }
            if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
                inBlock = true;
                i += 2;
                continue;
            }
            cur.push_back(c);
            ++i;
        }
        if (inBlock) Fail(file, line, "unterminated comment");
        if (!cur.empty()) lines.emplace_back(startLine, cur);
        return lines;
    }

    std::string FirstName(const std::string& args, const std::string* file, int line) {
        std::vector<Token> t;
        LineLexer(args, file, line).Run(t);
        if (t.empty() || t[0].kind != Tok::Ident) Fail(*file, line, "expected a name");
        return t[0].text;
    }

    bool Condition(const std::string& args, const std::string* file, int line) {
        std::vector<Token> t;
        LineLexer(args, file, line).Run(t);
        if (t.empty()) Fail(*file, line, "#if without a condition");
        Evaluator ev(t, 0, t.size(), macros_, true);
        int64_t v = ev.Expr();
        if (!ev.AtEnd()) Fail(ev.Peek(), "unexpected " + Describe(ev.Peek()) + " in #if");
        return v != 0;
    }

    void Define(const std::string& args, const std::string* file, int line) {
        size_t p = args.find_first_not_of(" \t");
        if (p == std::string::npos) Fail(*file, line, "#define without a name");
        size_t e = p;
        while (e < args.size() && (std::isalnum(static_cast<unsigned char>(args[e])) || args[e] == '_')) ++e;
        if (e == p) Fail(*file, line, "#define without a name");
        std::string name = args.substr(p, e - p);
        if (e < args.size() && args[e] == '(') return;  // function-like macros are of no use here
        Macro m;
        LineLexer(args.substr(e), file, line).Run(m.body);
        macros_[name] = std::move(m);
    }

    void Include(const fs::path& from, const std::string& args, const std::string* file, int line,
                 std::vector<Token>& out, int depth) {
        size_t p = args.find_first_not_of(" \t");
        if (p == std::string::npos) Fail(*file, line, "#include without a file");
        char open = args[p];
        char close = open == '"' ? '"' : open == '<' ? '>' : 0;
        if (!close) Fail(*file, line, "#include expects \"file\" or <file>");
        size_t q = args.find(close, p + 1);
        if (q == std::string::npos) Fail(*file, line, "unterminated #include file name");
        std::string name = args.substr(p + 1, q - p - 1);
        std::replace(name.begin(), name.end(), '\\', '/');
        fs::path found;
        if (open == '"' && fs::exists(from.parent_path() / name)) found = from.parent_path() / name;
        for (size_t k = 0; found.empty() && k < opt_.includeDirs.size(); ++k)
            if (fs::exists(fs::path(opt_.includeDirs[k]) / name)) found = fs::path(opt_.includeDirs[k]) / name;
        if (found.empty()) {
            // The system headers' names are all predefined.
            static const char* system[] = {"windows.h",  "winres.h",   "afxres.h", "winresrc.h", "winuser.h",
                                           "commctrl.h", "richedit.h", "winver.h", "dlgs.h"};
            std::string lower = name;
            for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (open == '<' || std::find(std::begin(system), std::end(system), lower) != std::end(system)) return;
            Fail(*file, line, "cannot find include file \"" + name + "\"");
        }
        std::string ext = Upper(found.extension().string());
        bool onlyDirectives = !(ext == ".RC" || ext == ".RC2" || ext == ".DLG");
        File(found, onlyDirectives, out, depth + 1);
    }

    static std::string FirstWord(const std::string& s) {
        size_t p = s.find_first_not_of(" \t");
        if (p == std::string::npos) return "";
        size_t e = s.find_first_of(" \t", p);
        return s.substr(p, e == std::string::npos ? std::string::npos : e - p);
    }

    const Options& opt_;
    std::set<std::string>* deps_;
    std::set<std::string> once_;
    std::map<std::string, Macro> macros_;
    std::set<std::string> names_;
};

// ---------------------------------------------------------------------------
// Parser of resource statements
// ---------------------------------------------------------------------------
constexpr uint32_t WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_SYSMENU = 0x00080000;
constexpr uint32_t WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000, DS_SETFONT = 0x40;

struct ControlKind {
    const char* keyword;
    const char* windowClass;
    uint32_t style;  // besides WS_CHILD | WS_VISIBLE
    bool hasText;
};

const ControlKind kControls[] = {
    {"LTEXT", "STATIC", 0x0 | WS_GROUP, true},
    {"RTEXT", "STATIC", 0x2 | WS_GROUP, true},
    {"CTEXT", "STATIC", 0x1 | WS_GROUP, true},
    {"PUSHBUTTON", "BUTTON", 0x0 | WS_TABSTOP, true},
    {"DEFPUSHBUTTON", "BUTTON", 0x1 | WS_TABSTOP, true},
    {"PUSHBOX", "BUTTON", 0xA | WS_TABSTOP, true},
    {"GROUPBOX", "BUTTON", 0x7, true},
    {"CHECKBOX", "BUTTON", 0x2 | WS_TABSTOP, true},
    {"AUTOCHECKBOX", "BUTTON", 0x3 | WS_TABSTOP, true},
    {"STATE3", "BUTTON", 0x5 | WS_TABSTOP, true},
    {"AUTO3STATE", "BUTTON", 0x6 | WS_TABSTOP, true},
    {"RADIOBUTTON", "BUTTON", 0x4 | WS_TABSTOP, true},
    {"AUTORADIOBUTTON", "BUTTON", 0x9 | WS_TABSTOP, true},
    {"EDITTEXT", "EDIT", 0x0 | WS_BORDER | WS_TABSTOP, false},
    {"COMBOBOX", "COMBOBOX", 0x1 | WS_TABSTOP, false},
    {"LISTBOX", "LISTBOX", 0x1 | WS_BORDER, false},
    {"SCROLLBAR", "SCROLLBAR", 0x0, false},
};

const char* PredefinedClass(const Token& t) {
    static const char* names[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
    for (const char* n : names)
        if (IsKeyword(t, n)) return n;
    return nullptr;
}

bool IsMemoryOption(const Token& t) {
    static const char* opts[] = {"PRELOAD", "LOADONCALL", "FIXED",  "MOVEABLE", "DISCARDABLE",
                                 "PURE",    "IMPURE",     "SHARED", "NONSHARED"};
    for (const char* o : opts)
        if (IsKeyword(t, o)) return true;
    return false;
}

int16_t ToShort(int64_t v, const Token& at, const char* what) {
    if (v < -32768 || v > 32767) Fail(at, std::string(what) + " out of range: " + std::to_string(v));
    return static_cast<int16_t>(v);
}

class Parser {
public:
    Parser(std::vector<Token>& toks, Script& out, const Options& opt, std::set<std::string>* deps)
        : t_(toks), out_(out), opt_(opt), deps_(deps) {}

    void Run() {
        while (Peek().kind != Tok::End) Statement();
    }

private:
    const Token& Peek(size_t ahead = 0) const {
        static const Token end;
        return pos_ + ahead < t_.size() ? t_[pos_ + ahead] : end;
    }
    const Token& Next() {
        const Token& t = Peek();
        if (pos_ < t_.size()) ++pos_;
        return t;
    }
    const Token& Here() const {
        if (pos_ < t_.size()) return t_[pos_];
        static Token end;
        if (!t_.empty()) {
            end.file = t_.back().file;
            end.line = t_.back().line;
        }
        return end;
    }

    void Expect(const char* punct) {
        if (!IsPunct(Peek(), punct))
            Fail(Here(), std::string("expected '") + punct + "' but found " + Describe(Peek()));
        ++pos_;
    }
    bool Accept(const char* punct) {
        if (!IsPunct(Peek(), punct)) return false;
        ++pos_;
        return true;
    }
    bool AtBegin() const { return IsKeyword(Peek(), "BEGIN") || IsPunct(Peek(), "{"); }
    bool AtEnd() const { return IsKeyword(Peek(), "END") || IsPunct(Peek(), "}"); }
    void ExpectBegin() {
        if (!AtBegin()) Fail(Here(), "expected BEGIN but found " + Describe(Peek()));
        ++pos_;
    }

    int64_t Expr() {
        if (Peek().kind == Tok::End) Fail(Here(), "expected a number but found end of input");
        Evaluator ev(t_, pos_, t_.size(), noMacros_, false);
        int64_t v = ev.Expr();
        pos_ = ev.pos();
        return v;
    }
    uint32_t Style(uint32_t initial) {
        if (Peek().kind == Tok::End) Fail(Here(), "expected a style but found end of input");
        Evaluator ev(t_, pos_, t_.size(), noMacros_, false);
        uint32_t v = ev.Style(initial);
        pos_ = ev.pos();
        return v;
    }

    // A string (adjacent strings joined).
    bool TryString(std::string* gbk, std::string* utf8 = nullptr) {
        if (Peek().kind != Tok::String) return false;
        gbk->clear();
        if (utf8) utf8->clear();
        while (Peek().kind == Tok::String) {
            *gbk += Peek().text;
            if (utf8) *utf8 += Peek().utf8;
            ++pos_;
        }
        return true;
    }
    std::string String(const char* what) {
        std::string s;
        if (!TryString(&s)) Fail(Here(), std::string("expected ") + what + " (a string) but found " + Describe(Peek()));
        return s;
    }

    // A resource name: a number, a #defined name (its number) or a string name.
    void Name(Resource& r) {
        const Token& t = Peek();
        r.where = (t.file ? *t.file : std::string()) + ":" + std::to_string(t.line);
        if (t.kind == Tok::String) {
            r.named = true;
            r.name = t.text;
            ++pos_;
        } else if (t.kind == Tok::Ident) {
            int64_t v = 0;
            if (LookupConstant(t.text, &v)) {
                r.number = CheckNumber(v, t);
            } else {
                r.named = true;
                r.name = t.text;
            }
            ++pos_;
        } else if (t.kind == Tok::Number || IsPunct(t, "(") || IsPunct(t, "-")) {
            r.number = CheckNumber(Expr(), t);
        } else {
            Fail(t, "expected a resource name but found " + Describe(t));
        }
        if (r.named && r.name.empty()) Fail(t, "empty resource name");
    }
    static uint32_t CheckNumber(int64_t v, const Token& t) {
        if (v < 1 || v > 0xFFFF) Fail(t, "resource number must be 1 to 65535, not " + std::to_string(v));
        return static_cast<uint32_t>(v);
    }

    void Statement() {
        const Token& first = Peek();
        if (IsKeyword(first, "LANGUAGE")) {
            ++pos_;
            Expr();
            Expect(",");
            Expr();
            return;
        }
        if (IsKeyword(first, "STRINGTABLE")) {
            ++pos_;
            StringTable();
            return;
        }
        Resource r;
        Name(r);
        const Token& type = Peek();
        if (type.kind == Tok::End) Fail(Here(), "expected a resource type after the name");
        ++pos_;
        while (IsMemoryOption(Peek())) ++pos_;
        if (IsKeyword(type, "DIALOG") || IsKeyword(type, "DIALOGEX")) {
            r.type = 5;
            r.dialog = std::make_shared<Dialog>(DialogBody(IsKeyword(type, "DIALOGEX")));
        } else if (IsKeyword(type, "MENU") || IsKeyword(type, "MENUEX")) {
            r.type = 4;
            r.menu = std::make_shared<Menu>();
            r.menu->extended = IsKeyword(type, "MENUEX");
            SkipOptionalStatements();
            ExpectBegin();
            MenuItems(r.menu->items, r.menu->extended);
        } else if (IsKeyword(type, "BITMAP")) {
            r.type = 2;
            r.binary = FileData(type, FileKind::Bitmap);
        } else if (IsKeyword(type, "ICON")) {
            r.type = 3;
            r.binary = FileData(type, FileKind::Icon);
        } else if (IsKeyword(type, "CURSOR")) {
            r.type = 1;
            r.binary = FileData(type, FileKind::Cursor);
        } else if (IsKeyword(type, "RCDATA")) {
            r.type = 10;
            r.binary = FileData(type, FileKind::Raw);
        } else if (type.kind == Tok::Number && type.value >= 1 && type.value <= 0xFFFF) {
            r.type = static_cast<uint16_t>(type.value);
            if (r.type == 4 || r.type == 5 || r.type == 6)
                Fail(type, "resource type " + std::to_string(r.type) + " must be written as a keyword");
            r.binary = FileData(type, r.type == 2 ? FileKind::Bitmap : r.type == 3 ? FileKind::Icon : FileKind::Raw);
        } else {
            Fail(type, "unknown resource type " + Describe(type));
        }
        Add(std::move(r), type);
    }

    void Add(Resource r, const Token& at) {
        std::string key = std::to_string(r.type) + (r.named ? ":" + Upper(r.name) : "#" + std::to_string(r.number));
        auto [it, fresh] = seen_.emplace(key, r.where);
        if (!fresh) {
            std::string name = r.named ? r.name : std::to_string(r.number);
            Fail(at, "resource " + name + " is defined twice (first at " + it->second + ")");
        }
        out_.resources.push_back(std::move(r));
    }

    void SkipOptionalStatements() {
        while (true) {
            if (IsKeyword(Peek(), "LANGUAGE")) {
                ++pos_;
                Expr();
                Expect(",");
                Expr();
            } else if (IsKeyword(Peek(), "CHARACTERISTICS") || IsKeyword(Peek(), "VERSION")) {
                ++pos_;
                Expr();
            } else {
                return;
            }
        }
    }

    Dialog DialogBody(bool ex) {
        Dialog d;
        d.extended = ex;
        const Token& at = Here();
        d.x = ToShort(Expr(), at, "x");
        Expect(",");
        d.y = ToShort(Expr(), at, "y");
        Expect(",");
        d.cx = ToShort(Expr(), at, "width");
        Expect(",");
        d.cy = ToShort(Expr(), at, "height");
        if (ex && Accept(",")) Expr();  // help id
        bool hasStyle = false, hasCaption = false;
        while (!AtBegin()) {
            const Token& kw = Peek();
            if (kw.kind == Tok::End) Fail(Here(), "expected BEGIN but found end of input");
            ++pos_;
            if (IsKeyword(kw, "STYLE")) {
                d.style = Style(0);
                hasStyle = true;
            } else if (IsKeyword(kw, "EXSTYLE")) {
                d.exStyle = Style(0);
            } else if (IsKeyword(kw, "CAPTION")) {
                d.caption = String("a caption");
                hasCaption = true;
            } else if (IsKeyword(kw, "FONT")) {
                d.hasFont = true;
                d.fontPointSize = ToShort(Expr(), kw, "font size");
                Expect(",");
                d.fontFace = String("a font face");
                if (Accept(",")) {
                    d.fontWeight = static_cast<uint16_t>(Expr());
                    if (Accept(",")) {
                        d.fontItalic = Expr() ? 1 : 0;
                        if (Accept(",")) d.fontCharset = static_cast<uint8_t>(Expr());
                    }
                }
            } else if (IsKeyword(kw, "CLASS")) {
                d.hasClass = true;
                if (!TryString(&d.windowClass)) {
                    if (Peek().kind != Tok::Ident) Fail(Here(), "expected a class name");
                    d.windowClass = Next().text;
                }
            } else if (IsKeyword(kw, "MENU")) {
                d.hasMenu = true;
                if (!TryString(&d.menuName)) {
                    if (Peek().kind == Tok::Ident && !IsConstant(Peek()))
                        d.menuName = Next().text;
                    else
                        d.menuName = "#" + std::to_string(Expr());
                }
            } else if (IsKeyword(kw, "LANGUAGE")) {
                Expr();
                Expect(",");
                Expr();
            } else if (IsKeyword(kw, "CHARACTERISTICS") || IsKeyword(kw, "VERSION")) {
                Expr();
            } else {
                Fail(kw, "unknown dialog statement " + Describe(kw));
            }
        }
        ++pos_;  // BEGIN
        // Without STYLE: a bordered popup with a system menu, and a caption
        // bar when there is a caption. A STYLE given is taken as written.
        if (!hasStyle) d.style = WS_POPUP | WS_BORDER | WS_SYSMENU | (hasCaption ? WS_CAPTION : 0);
        if (d.hasFont) d.style |= DS_SETFONT;
        while (!AtEnd()) {
            if (Peek().kind == Tok::End) Fail(Here(), "expected END of the dialog but found end of input");
            d.items.push_back(Control(ex));
        }
        ++pos_;  // END
        return d;
    }

    // Optional ", style [, exstyle [, helpid]]" of a control.
    void ControlTail(DialogItem& it, bool ex, bool styleDone) {
        if (!styleDone) {
            if (!Accept(",")) return;
            it.style = Style(it.style);
        }
        if (!Accept(",")) return;
        it.exStyle = Style(0);
        if (ex && Accept(",")) it.helpId = static_cast<uint32_t>(Expr());
    }

    void ControlText(DialogItem& it, bool iconName) {
        if (TryString(&it.text)) return;
        const Token& t = Peek();
        if (iconName && t.kind == Tok::Ident && !IsConstant(t)) {
            it.text = Next().text;
            return;
        }
        int64_t v = Expr();
        if (v < 0 || v > 0xFFFF) Fail(t, "bad text id " + std::to_string(v));
        it.textId = static_cast<uint32_t>(v);
        it.text.clear();
    }

    void Rect(DialogItem& it, const Token& at, bool optionalSize) {
        it.x = ToShort(Expr(), at, "x");
        Expect(",");
        it.y = ToShort(Expr(), at, "y");
        if (optionalSize) return;
        Expect(",");
        it.cx = ToShort(Expr(), at, "width");
        Expect(",");
        it.cy = ToShort(Expr(), at, "height");
    }

    int32_t ControlId() {
        const Token& at = Here();
        int64_t v = Expr();
        if (v < -32768 || v > 0xFFFF) Fail(at, "control id out of range: " + std::to_string(v));
        return static_cast<int32_t>(v);
    }

    DialogItem Control(bool ex) {
        const Token& kw = Next();
        DialogItem it;
        it.style = WS_CHILD | WS_VISIBLE;
        if (IsKeyword(kw, "CONTROL")) {
            ControlText(it, false);
            Expect(",");
            it.id = ControlId();
            Expect(",");
            if (const char* cls = PredefinedClass(Peek())) {
                it.windowClass = cls;
                ++pos_;
            } else if (!TryString(&it.windowClass)) {
                Fail(Here(), "expected a control class but found " + Describe(Peek()));
            }
            Expect(",");
            it.style = Style(it.style);
            Expect(",");
            Rect(it, kw, false);
            ControlTail(it, ex, true);
        } else if (IsKeyword(kw, "ICON")) {
            it.windowClass = "STATIC";
            it.style |= 0x3;  // SS_ICON
            ControlText(it, true);
            Expect(",");
            it.id = ControlId();
            Expect(",");
            Rect(it, kw, true);
            if (Accept(",")) {
                it.cx = ToShort(Expr(), kw, "width");
                Expect(",");
                it.cy = ToShort(Expr(), kw, "height");
                ControlTail(it, ex, false);
            }
        } else {
            const ControlKind* kind = nullptr;
            for (const ControlKind& k : kControls)
                if (IsKeyword(kw, k.keyword)) kind = &k;
            if (!kind) Fail(kw, "unknown control " + Describe(kw));
            it.windowClass = kind->windowClass;
            it.style |= kind->style;
            if (kind->hasText) {
                ControlText(it, false);
                Expect(",");
            }
            it.id = ControlId();
            Expect(",");
            Rect(it, kw, false);
            ControlTail(it, ex, false);
        }
        if (ex && AtBegin()) {  // control data block: not used
            int depth = 0;
            do {
                if (Peek().kind == Tok::End) Fail(Here(), "unterminated control data");
                if (AtBegin()) ++depth;
                if (AtEnd()) --depth;
                ++pos_;
            } while (depth > 0);
        }
        return it;
    }

    uint32_t MenuOptions() {
        uint32_t flags = 0;
        while (true) {
            size_t save = pos_;
            bool comma = Accept(",");
            const Token& t = Peek();
            if (IsKeyword(t, "CHECKED"))
                flags |= 0x8;
            else if (IsKeyword(t, "GRAYED"))
                flags |= 0x1;
            else if (IsKeyword(t, "INACTIVE"))
                flags |= 0x2;
            else if (IsKeyword(t, "HELP"))
                flags |= 0x4000;
            else if (IsKeyword(t, "MENUBARBREAK"))
                flags |= 0x20;
            else if (IsKeyword(t, "MENUBREAK"))
                flags |= 0x40;
            else {
                if (comma) Fail(t, "unknown menu option " + Describe(t));
                pos_ = save;
                return flags;
            }
            ++pos_;
        }
    }

    // Items up to the END (the BEGIN is consumed).
    void MenuItems(std::vector<MenuNode>& items, bool ex) {
        constexpr uint32_t kKeep = 0x1 | 0x2 | 0x8 | 0x20 | 0x40 | 0x200 | 0x800 | 0x1000 | 0x4000;
        while (!AtEnd()) {
            const Token& kw = Peek();
            if (kw.kind == Tok::End) Fail(Here(), "expected END of the menu but found end of input");
            ++pos_;
            MenuNode n;
            bool popup = IsKeyword(kw, "POPUP");
            if (!popup && !IsKeyword(kw, "MENUITEM")) Fail(kw, "expected MENUITEM or POPUP but found " + Describe(kw));
            if (!popup && IsKeyword(Peek(), "SEPARATOR")) {
                ++pos_;
                n.flags = 0x800;
                items.push_back(std::move(n));
                continue;
            }
            n.text = String("a menu text");
            if (ex) {
                // "text" [, [id] [, [type] [, [state] [, helpid]]]]
                uint32_t type = 0, state = 0;
                if (Accept(",")) {
                    if (!IsPunct(Peek(), ",") && !AtBegin() && !IsMenuKeyword()) n.id = static_cast<uint32_t>(Expr());
                    if (Accept(",")) {
                        if (!IsPunct(Peek(), ",") && !AtBegin() && !IsMenuKeyword())
                            type = static_cast<uint32_t>(Expr());
                        if (Accept(",")) {
                            if (!IsPunct(Peek(), ",") && !AtBegin() && !IsMenuKeyword())
                                state = static_cast<uint32_t>(Expr());
                            if (popup && Accept(",")) Expr();
                        }
                    }
                }
                n.flags = (type | state) & kKeep;
            } else if (popup) {
                n.flags = MenuOptions();
            } else {
                Expect(",");
                const Token& at = Here();
                int64_t id = Expr();
                if (id < 0 || id > 0xFFFF) Fail(at, "menu id out of range: " + std::to_string(id));
                n.id = static_cast<uint32_t>(id);
                n.flags = MenuOptions();
            }
            if (popup) {
                n.flags |= 0x10;
                ExpectBegin();
                MenuItems(n.children, ex);
            }
            items.push_back(std::move(n));
        }
        ++pos_;  // END
    }
    bool IsMenuKeyword() const { return IsKeyword(Peek(), "MENUITEM") || IsKeyword(Peek(), "POPUP") || AtEnd(); }

    void StringTable() {
        while (IsMemoryOption(Peek())) ++pos_;
        SkipOptionalStatements();
        ExpectBegin();
        while (!AtEnd()) {
            const Token& at = Here();
            if (at.kind == Tok::End) Fail(at, "expected END of the string table but found end of input");
            int64_t id = Expr();
            if (id < 0 || id > 0xFFFF) Fail(at, "string id out of range: " + std::to_string(id));
            Accept(",");
            StringEntry e;
            e.id = static_cast<uint32_t>(id);
            e.text = String("the text of a string");
            e.where = (at.file ? *at.file : std::string()) + ":" + std::to_string(at.line);
            auto [it, fresh] = stringIds_.emplace(e.id, e.where);
            if (!fresh) Fail(at, "string " + std::to_string(e.id) + " is defined twice (first at " + it->second + ")");
            out_.strings.push_back(std::move(e));
        }
        ++pos_;
    }

    enum class FileKind { Bitmap, Icon, Cursor, Raw };

    std::shared_ptr<Binary> FileData(const Token& typeTok, FileKind kind) {
        std::string gbkName, utf8Name;
        if (!TryString(&gbkName, &utf8Name)) {
            if (AtBegin()) Fail(Here(), "inline resource data is not supported; name a file");
            Fail(Here(), "expected a file name (a string) but found " + Describe(Peek()));
        }
        std::replace(utf8Name.begin(), utf8Name.end(), '\\', '/');
        fs::path base = fs::path(*typeTok.file).parent_path();
        fs::path found;
        if (fs::path(utf8Name).is_absolute() && fs::exists(utf8Name)) found = utf8Name;
        if (found.empty() && fs::exists(base / utf8Name)) found = base / utf8Name;
        for (size_t k = 0; found.empty() && k < opt_.includeDirs.size(); ++k)
            if (fs::exists(fs::path(opt_.includeDirs[k]) / utf8Name)) found = fs::path(opt_.includeDirs[k]) / utf8Name;
        if (found.empty()) Fail(typeTok, "cannot find file \"" + utf8Name + "\"");
        std::ifstream in(found, std::ios::binary);
        if (!in) Fail(typeTok, "cannot read file \"" + utf8Name + "\"");
        auto b = std::make_shared<Binary>();
        b->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        deps_->insert(fs::absolute(found).lexically_normal().string());
        std::string why;
        if (kind == FileKind::Bitmap && !ReadBitmap(*b, &why))
            Fail(typeTok, "\"" + utf8Name + "\" is not a bitmap file: " + why);
        if ((kind == FileKind::Icon || kind == FileKind::Cursor) && !ReadIcon(*b, kind == FileKind::Icon ? 1 : 2, &why))
            Fail(typeTok,
                 "\"" + utf8Name + "\" is not " + (kind == FileKind::Icon ? "an icon" : "a cursor") + " file: " + why);
        return b;
    }

    static uint32_t U16(const std::vector<unsigned char>& b, size_t o) { return b[o] | (b[o + 1] << 8); }
    static uint32_t U32(const std::vector<unsigned char>& b, size_t o) {
        return b[o] | (b[o + 1] << 8) | (b[o + 2] << 16) | (static_cast<uint32_t>(b[o + 3]) << 24);
    }

    static bool ReadBitmap(Binary& b, std::string* why) {
        const auto& d = b.bytes;
        if (d.size() < 26 || d[0] != 'B' || d[1] != 'M') {
            *why = "no BM header";
            return false;
        }
        uint32_t offBits = U32(d, 10);
        uint32_t hdr = U32(d, 14);
        if (hdr == 12) {
            b.width = static_cast<int32_t>(U16(d, 18));
            b.height = static_cast<int32_t>(U16(d, 20));
            b.bitCount = static_cast<uint16_t>(U16(d, 24));
        } else if (hdr >= 40 && d.size() >= 14 + 40) {
            b.width = static_cast<int32_t>(U32(d, 18));
            int32_t h = static_cast<int32_t>(U32(d, 22));
            b.height = h < 0 ? -h : h;
            b.bitCount = static_cast<uint16_t>(U16(d, 28));
        } else {
            *why = "unknown header size " + std::to_string(hdr);
            return false;
        }
        if (b.width <= 0 || b.height <= 0) {
            *why = "empty image";
            return false;
        }
        if (offBits >= d.size()) {
            *why = "pixel data missing";
            return false;
        }
        static const uint16_t depths[] = {1, 4, 8, 16, 24, 32};
        if (std::find(std::begin(depths), std::end(depths), b.bitCount) == std::end(depths)) {
            *why = "unsupported bit count " + std::to_string(b.bitCount);
            return false;
        }
        uint64_t stride = ((static_cast<uint64_t>(b.width) * b.bitCount + 31) / 32) * 4;
        uint32_t compression = hdr >= 40 ? U32(d, 30) : 0;
        if (compression == 0 && offBits + stride * b.height > d.size()) {
            *why = "file is cut short";
            return false;
        }
        return true;
    }

    static bool ReadIcon(Binary& b, uint32_t type, std::string* why) {
        const auto& d = b.bytes;
        if (d.size() < 6 || U16(d, 0) != 0 || U16(d, 2) != type) {
            *why = "bad header";
            return false;
        }
        uint32_t count = U16(d, 4);
        if (count == 0 || d.size() < 6 + 16ull * count) {
            *why = "bad image directory";
            return false;
        }
        for (uint32_t i = 0; i < count; ++i) {
            size_t e = 6 + 16 * i;
            uint64_t size = U32(d, e + 8), off = U32(d, e + 12);
            if (size == 0 || off + size > d.size()) {
                *why = "image " + std::to_string(i) + " lies outside the file";
                return false;
            }
        }
        b.width = d[6] ? d[6] : 256;
        b.height = d[7] ? d[7] : 256;
        b.bitCount = static_cast<uint16_t>(U16(d, 6 + 6));
        return true;
    }

    static bool IsConstant(const Token& t) {
        int64_t v;
        return LookupConstant(t.text, &v);
    }

    std::vector<Token>& t_;
    size_t pos_ = 0;
    const std::map<std::string, Macro> noMacros_;
    Script& out_;
    const Options& opt_;
    std::set<std::string>* deps_;
    std::map<std::string, std::string> seen_;
    std::map<uint32_t, std::string> stringIds_;
};

}  // namespace

Script Compile(const std::vector<std::string>& rcFiles, const Options& options) {
    Script script;
    std::set<std::string> deps;
    // Every script is read on its own (its own #defines); the resources and
    // strings of all of them form one table.
    for (const std::string& f : rcFiles) {
        Preprocessor pp(options, &deps);
        std::vector<Token> tokens;
        pp.File(fs::path(f), false, tokens);
        Script part;
        Parser p(tokens, part, options, &deps);
        p.Run();
        for (auto& r : part.resources) script.resources.push_back(std::move(r));
        for (auto& s : part.strings) script.strings.push_back(std::move(s));
    }
    // Names and string ids must be unique across all the scripts.
    std::map<std::string, std::string> seen;
    for (const Resource& r : script.resources) {
        std::string key = std::to_string(r.type) + (r.named ? ":" + Upper(r.name) : "#" + std::to_string(r.number));
        auto [it, fresh] = seen.emplace(key, r.where);
        if (!fresh)
            throw Error(r.where + ": resource " + (r.named ? r.name : std::to_string(r.number)) +
                        " is defined twice (first at " + it->second + ")");
    }
    std::stable_sort(script.strings.begin(), script.strings.end(),
                     [](const StringEntry& a, const StringEntry& b) { return a.id < b.id; });
    for (size_t i = 1; i < script.strings.size(); ++i)
        if (script.strings[i].id == script.strings[i - 1].id)
            throw Error(script.strings[i].where + ": string " + std::to_string(script.strings[i].id) +
                        " is defined twice (first at " + script.strings[i - 1].where + ")");
    script.dependencies.assign(deps.begin(), deps.end());
    return script;
}

}  // namespace w32rc
