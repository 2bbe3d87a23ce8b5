#include "component/stream.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <utility>

#include "component/utf8.h"

TStoredValue TStoredValue::Int(std::int32_t v) {
    TStoredValue r;
    r.type = Type::Integer;
    r.integer = v;
    return r;
}
TStoredValue TStoredValue::Str(std::string v) {
    TStoredValue r;
    r.type = Type::String;
    r.text = std::move(v);
    return r;
}
TStoredValue TStoredValue::Ident(std::string v) {
    TStoredValue r;
    r.type = Type::Ident;
    r.text = std::move(v);
    return r;
}
TStoredValue TStoredValue::SetOf(std::vector<std::string> v) {
    TStoredValue r;
    r.type = Type::Set;
    r.items = std::move(v);
    return r;
}
TStoredValue TStoredValue::List(std::vector<std::string> v) {
    TStoredValue r;
    r.type = Type::List;
    r.items = std::move(v);
    return r;
}
TStoredValue TStoredValue::Block(std::vector<std::uint8_t> v) {
    TStoredValue r;
    r.type = Type::Bytes;
    r.bytes = std::move(v);
    return r;
}

const TStoredProperty* TStoredObject::Find(std::string_view property) const {
    for (const auto& p : properties)
        if (p.name == property) return &p;
    return nullptr;
}

// ---- binary ---------------------------------------------------------------

namespace {

constexpr char kMagic[4] = {'S', 'R', 'T', 'F'};
constexpr std::uint8_t kVersion = 1;

class BinaryWriter {
public:
    std::vector<std::uint8_t> out;

    void U8(std::uint8_t v) { out.push_back(v); }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void Str(std::string_view s) {
        U32(static_cast<std::uint32_t>(s.size()));
        out.insert(out.end(), s.begin(), s.end());
    }
    void Value(const TStoredValue& v) {
        U8(static_cast<std::uint8_t>(v.type));
        switch (v.type) {
        case TStoredValue::Type::Integer: U32(static_cast<std::uint32_t>(v.integer)); break;
        case TStoredValue::Type::String:
        case TStoredValue::Type::Ident: Str(v.text); break;
        case TStoredValue::Type::Set:
        case TStoredValue::Type::List:
            U32(static_cast<std::uint32_t>(v.items.size()));
            for (const auto& s : v.items) Str(s);
            break;
        case TStoredValue::Type::Bytes:
            U32(static_cast<std::uint32_t>(v.bytes.size()));
            out.insert(out.end(), v.bytes.begin(), v.bytes.end());
            break;
        }
    }
    void Object(const TStoredObject& o) {
        Str(o.className);
        Str(o.name);
        for (const auto& p : o.properties) {
            Str(p.name);
            Value(p.value);
        }
        Str("");
        for (const auto& c : o.children) {
            U8(1);
            Object(c);
        }
        U8(0);
    }
};

class BinaryReader {
public:
    BinaryReader(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}

    void Need(std::size_t n) const {
        if (static_cast<std::size_t>(end_ - p_) < n) throw EReadError("stored description is truncated");
    }
    std::uint8_t U8() {
        Need(1);
        return *p_++;
    }
    std::uint32_t U32() {
        Need(4);
        std::uint32_t v = p_[0] | (p_[1] << 8) | (p_[2] << 16) | (static_cast<std::uint32_t>(p_[3]) << 24);
        p_ += 4;
        return v;
    }
    std::string Str() {
        std::uint32_t n = U32();
        Need(n);
        std::string s(reinterpret_cast<const char*>(p_), n);
        p_ += n;
        return s;
    }
    TStoredValue Value() {
        TStoredValue v;
        std::uint8_t type = U8();
        switch (type) {
        case 1: v = TStoredValue::Int(static_cast<std::int32_t>(U32())); break;
        case 2: v = TStoredValue::Str(Str()); break;
        case 3: v = TStoredValue::Ident(Str()); break;
        case 4:
        case 5: {
            std::uint32_t n = U32();
            // Every item takes at least its 4-byte length.
            if (n > static_cast<std::size_t>(end_ - p_) / 4) throw EReadError("stored description is truncated");
            std::vector<std::string> items;
            items.reserve(n);
            for (std::uint32_t i = 0; i < n; ++i) items.push_back(Str());
            v = type == 4 ? TStoredValue::SetOf(std::move(items)) : TStoredValue::List(std::move(items));
            break;
        }
        case 6: {
            std::uint32_t n = U32();
            Need(n);
            v = TStoredValue::Block(std::vector<std::uint8_t>(p_, p_ + n));
            p_ += n;
            break;
        }
        default: throw EReadError("unknown value type " + std::to_string(type) + " in stored description");
        }
        return v;
    }
    TStoredObject Object(int depth) {
        if (depth > kMaxStoredDepth) throw EReadError("stored description is nested too deeply");
        TStoredObject o;
        o.className = Str();
        if (o.className.empty()) throw EReadError("object without a class name in stored description");
        o.name = Str();
        for (;;) {
            std::string name = Str();
            if (name.empty()) break;
            o.properties.push_back({std::move(name), Value()});
        }
        for (;;) {
            std::uint8_t more = U8();
            if (more == 0) break;
            if (more != 1) throw EReadError("malformed child list in stored description");
            o.children.push_back(Object(depth + 1));
        }
        return o;
    }
    bool AtEnd() const { return p_ == end_; }

private:
    const std::uint8_t* p_;
    const std::uint8_t* end_;
};

}  // namespace

std::vector<std::uint8_t> WriteStoredObject(const TStoredObject& root) {
    BinaryWriter w;
    w.out.assign(std::begin(kMagic), std::end(kMagic));
    w.U8(kVersion);
    w.Object(root);
    return std::move(w.out);
}

TStoredObject ReadStoredObject(const std::uint8_t* data, std::size_t size) {
    if (size < 5 || std::memcmp(data, kMagic, 4) != 0) throw EReadError("not a stored description");
    if (data[4] != kVersion) throw EReadError("unsupported stored description version");
    BinaryReader r(data + 5, size - 5);
    TStoredObject root = r.Object(0);
    if (!r.AtEnd()) throw EReadError("bytes after the end of the stored description");
    return root;
}

// ---- text -----------------------------------------------------------------

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

class TextParser {
public:
    TextParser(std::string_view text, std::string baseDir) : s_(text), base_(std::move(baseDir)) {}

    TStoredObject Root() {
        TStoredObject o = Object(0);
        Skip();
        if (i_ != s_.size()) Fail("text after the last 'end'");
        return o;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        int line = 1;
        for (std::size_t k = 0; k < i_ && k < s_.size(); ++k)
            if (s_[k] == '\n') ++line;
        throw EReadError("line " + std::to_string(line) + ": " + what);
    }
    void Skip() {
        while (i_ < s_.size()) {
            char c = s_[i_];
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++i_;
            } else if (c == '/' && i_ + 1 < s_.size() && s_[i_ + 1] == '/') {
                while (i_ < s_.size() && s_[i_] != '\n') ++i_;
            } else {
                break;
            }
        }
    }
    bool Peek(char c) {
        Skip();
        return i_ < s_.size() && s_[i_] == c;
    }
    void Expect(char c) {
        if (!Peek(c)) Fail(std::string("'") + c + "' expected");
        ++i_;
    }
    std::string Ident(bool dotted) {
        Skip();
        if (i_ >= s_.size() || !IsIdentStart(s_[i_])) Fail("name expected");
        std::size_t start = i_;
        while (i_ < s_.size() && (IsIdentChar(s_[i_]) || (dotted && s_[i_] == '.'))) ++i_;
        return std::string(s_.substr(start, i_ - start));
    }
    bool Keyword(std::string_view word) {
        Skip();
        if (s_.substr(i_, word.size()) != word) return false;
        std::size_t after = i_ + word.size();
        if (after < s_.size() && IsIdentChar(s_[after])) return false;
        i_ = after;
        return true;
    }
    // A string: quoted parts and #n bytes, juxtaposed.
    std::string String() {
        Skip();
        std::string out;
        bool any = false;
        while (i_ < s_.size() && (s_[i_] == '\'' || s_[i_] == '#')) {
            any = true;
            if (s_[i_] == '\'') {
                ++i_;
                for (;;) {
                    if (i_ >= s_.size() || s_[i_] == '\n') Fail("unterminated string");
                    if (s_[i_] == '\'') {
                        if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
                            out += '\'';
                            i_ += 2;
                            continue;
                        }
                        ++i_;
                        break;
                    }
                    out += s_[i_++];
                }
            } else {
                ++i_;
                std::size_t start = i_;
                int v = 0;
                while (i_ < s_.size() && IsDigit(s_[i_]) && v <= 255) v = v * 10 + (s_[i_++] - '0');
                if (i_ == start || v > 255) Fail("byte value 0 to 255 expected after '#'");
                out += static_cast<char>(v);
            }
        }
        if (!any) Fail("string expected");
        return out;
    }
    std::int32_t Integer() {
        Skip();
        bool negative = false;
        if (s_[i_] == '-') {
            negative = true;
            ++i_;
        }
        std::int64_t v = 0;
        std::size_t start;
        if (i_ < s_.size() && s_[i_] == '$') {
            ++i_;
            start = i_;
            while (i_ < s_.size() && HexValue(s_[i_]) >= 0) {
                v = v * 16 + HexValue(s_[i_++]);
                if (v > 0xFFFFFFFFLL) Fail("integer out of range");
            }
            if (!negative && v > 0x7FFFFFFF) v -= 0x100000000LL;  // $FFFFFFFF is -1
        } else {
            start = i_;
            while (i_ < s_.size() && IsDigit(s_[i_])) {
                v = v * 10 + (s_[i_++] - '0');
                if (v > 0x80000000LL) Fail("integer out of range");
            }
        }
        if (i_ == start) Fail("digits expected");
        if (negative) v = -v;
        if (v > 0x7FFFFFFF || v < -0x80000000LL) Fail("integer out of range");
        return static_cast<std::int32_t>(v);
    }
    std::vector<std::uint8_t> Hex() {
        Expect('{');
        std::vector<std::uint8_t> out;
        int high = -1;
        for (;;) {
            Skip();
            if (i_ >= s_.size()) Fail("'}' expected");
            if (s_[i_] == '}') {
                ++i_;
                break;
            }
            int h = HexValue(s_[i_]);
            if (h < 0) Fail("hexadecimal digit expected");
            ++i_;
            if (high < 0) {
                high = h;
            } else {
                out.push_back(static_cast<std::uint8_t>(high * 16 + h));
                high = -1;
            }
        }
        if (high >= 0) Fail("odd number of hexadecimal digits");
        return out;
    }
    std::vector<std::uint8_t> File() {
        std::string name = String();
        if (base_.empty()) Fail("'file' is not allowed here");
        std::string path = name.size() && name[0] == '/' ? name : base_ + "/" + name;
        // C streams: the C++ stream classes would bring their locale
        // machinery into every program that links the component layer.
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
        if (!in) Fail("cannot read " + path);
        std::vector<std::uint8_t> bytes;
        std::uint8_t chunk[4096];
        while (std::size_t got = std::fread(chunk, 1, sizeof chunk, in.get()))
            bytes.insert(bytes.end(), chunk, chunk + got);
        if (std::ferror(in.get())) Fail("cannot read " + path);
        return bytes;
    }
    TStoredValue Value() {
        Skip();
        if (i_ >= s_.size()) Fail("value expected");
        char c = s_[i_];
        if (c == '\'' || c == '#') return TStoredValue::Str(String());
        if (c == '-' || c == '$' || IsDigit(c)) return TStoredValue::Int(Integer());
        if (c == '{') return TStoredValue::Block(Hex());
        if (c == '[') {
            ++i_;
            std::vector<std::string> items;
            if (!Peek(']')) {
                items.push_back(Ident(false));
                while (Peek(',')) {
                    ++i_;
                    items.push_back(Ident(false));
                }
            }
            Expect(']');
            return TStoredValue::SetOf(std::move(items));
        }
        if (c == '(') {
            ++i_;
            std::vector<std::string> items;
            while (!Peek(')')) {
                if (i_ >= s_.size()) Fail("')' expected");
                items.push_back(String());
            }
            Expect(')');
            return TStoredValue::List(std::move(items));
        }
        if (Keyword("file")) return TStoredValue::Block(File());
        return TStoredValue::Ident(Ident(false));
    }
    // Pieces joined by "+" make one byte block: hex blocks, files, strings.
    TStoredValue Joined() {
        TStoredValue v = Value();
        if (!Peek('+')) return v;
        std::vector<std::uint8_t> bytes = BlockPiece(std::move(v));
        while (Peek('+')) {
            ++i_;
            std::vector<std::uint8_t> more = BlockPiece(Value());
            bytes.insert(bytes.end(), more.begin(), more.end());
        }
        return TStoredValue::Block(std::move(bytes));
    }
    std::vector<std::uint8_t> BlockPiece(TStoredValue v) {
        if (v.type == TStoredValue::Type::Bytes) return std::move(v.bytes);
        if (v.type == TStoredValue::Type::String) return std::vector<std::uint8_t>(v.text.begin(), v.text.end());
        Fail("only byte blocks, files and strings can be joined with '+'");
    }
    TStoredObject Object(int depth) {
        if (depth > kMaxStoredDepth) Fail("objects nested too deeply");
        if (!Keyword("object")) Fail("'object' expected");
        TStoredObject o;
        std::string first = Ident(false);
        if (Peek(':')) {
            ++i_;
            o.name = first;
            o.className = Ident(false);
        } else {
            o.className = first;
        }
        for (;;) {
            if (Keyword("end")) break;
            Skip();
            if (i_ >= s_.size()) Fail("'end' expected");
            if (Keyword("object")) {
                i_ -= 6;
                o.children.push_back(Object(depth + 1));
                continue;
            }
            std::string name = Ident(true);
            Expect('=');
            o.properties.push_back({std::move(name), Joined()});
        }
        return o;
    }

    std::string_view s_;
    std::string base_;
    std::size_t i_ = 0;
};

// Valid UTF-8 sequences are printed as they are; control bytes, quotes are
// escaped and any byte outside a valid sequence becomes #n.

std::string Quote(std::string_view s) {
    std::string out;
    bool open = false;
    auto openQuote = [&] {
        if (!open) out += '\'';
        open = true;
    };
    auto closeQuote = [&] {
        if (open) out += '\'';
        open = false;
    };
    for (std::size_t i = 0; i < s.size();) {
        auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b >= 0x20 && b != 0x7F ? Utf8SequenceAt(s, i) : 0;
        if (n == 0) {
            closeQuote();
            out += '#' + std::to_string(b);
            ++i;
            continue;
        }
        openQuote();
        if (b == '\'') out += '\'';
        out.append(s.substr(i, n));
        i += n;
    }
    if (s.empty()) out = "''";
    closeQuote();
    return out;
}

void PrintObject(std::string& out, const TStoredObject& o, int depth) {
    std::string indent(depth * 2, ' ');
    out += indent + "object ";
    if (!o.name.empty()) out += o.name + ": ";
    out += o.className + "\n";
    for (const auto& p : o.properties) {
        out += indent + "  " + p.name + " = ";
        const TStoredValue& v = p.value;
        switch (v.type) {
        case TStoredValue::Type::Integer: out += std::to_string(v.integer); break;
        case TStoredValue::Type::String: out += Quote(v.text); break;
        case TStoredValue::Type::Ident: out += v.text; break;
        case TStoredValue::Type::Set: {
            out += '[';
            for (std::size_t k = 0; k < v.items.size(); ++k) out += (k ? ", " : "") + v.items[k];
            out += ']';
            break;
        }
        case TStoredValue::Type::List:
            out += "(\n";
            for (const auto& s : v.items) out += indent + "    " + Quote(s) + "\n";
            out += indent + "  )";
            break;
        case TStoredValue::Type::Bytes: {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "{";
            for (std::size_t k = 0; k < v.bytes.size(); ++k) {
                if (k % 32 == 0) out += "\n" + indent + "    ";
                out += kHex[v.bytes[k] >> 4];
                out += kHex[v.bytes[k] & 15];
            }
            out += v.bytes.empty() ? "}" : "\n" + indent + "  }";
            break;
        }
        }
        out += '\n';
    }
    for (const auto& c : o.children) PrintObject(out, c, depth + 1);
    out += indent + "end\n";
}

}  // namespace

TStoredObject ParseStoredText(std::string_view text, const std::string& baseDir) {
    return TextParser(text, baseDir).Root();
}

std::string PrintStoredText(const TStoredObject& root) {
    std::string out;
    PrintObject(out, root, 0);
    return out;
}
