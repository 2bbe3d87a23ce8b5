// The stored description of a component tree: nested objects with typed
// property values and byte blocks. Two forms of it: the binary stream that is
// embedded in the program, and a human-readable source text. Both convert to
// and from TStoredObject without knowing any component class, so the build
// tool that compiles the source needs nothing else.
//
// Binary layout (all integers little-endian):
//   "SRTF" u8 version(1) object
//   object   := str class, str name, { str propname value }* str "" ,
//               { u8 1 object }* u8 0
//   value    := u8 type, then by type:
//               1 integer  i32
//               2 string   str (UTF-8 or any bytes)
//               3 ident    str (enumeration value, Boolean, method name)
//               4 set      u32 count, str*
//               5 list     u32 count, str*
//               6 bytes    u32 length, bytes
//   str      := u32 length, bytes
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TStoredValue {
    enum class Type : std::uint8_t { Integer = 1, String = 2, Ident = 3, Set = 4, List = 5, Bytes = 6 };
    Type type = Type::Integer;
    std::int32_t integer = 0;
    std::string text;                  // String, Ident
    std::vector<std::string> items;    // Set, List
    std::vector<std::uint8_t> bytes;   // Bytes

    static TStoredValue Int(std::int32_t v);
    static TStoredValue Str(std::string v);
    static TStoredValue Ident(std::string v);
    static TStoredValue SetOf(std::vector<std::string> v);
    static TStoredValue List(std::vector<std::string> v);
    static TStoredValue Block(std::vector<std::uint8_t> v);

    bool operator==(const TStoredValue&) const = default;
};

struct TStoredProperty {
    std::string name;  // dotted for properties of a property object: "Font.Name"
    TStoredValue value;
    bool operator==(const TStoredProperty&) const = default;
};

struct TStoredObject {
    std::string className;
    std::string name;
    std::vector<TStoredProperty> properties;
    std::vector<TStoredObject> children;

    const TStoredProperty* Find(std::string_view property) const;
    bool operator==(const TStoredObject&) const = default;
};

// Nesting deeper than this is refused as malformed.
inline constexpr int kMaxStoredDepth = 64;

// Binary form. ReadStoredObject throws EReadError on anything malformed and
// never reads outside `data`.
std::vector<std::uint8_t> WriteStoredObject(const TStoredObject& root);
TStoredObject ReadStoredObject(const std::uint8_t* data, std::size_t size);
inline TStoredObject ReadStoredObject(const std::vector<std::uint8_t>& data) {
    return ReadStoredObject(data.data(), data.size());
}

// Source text:
//   object Name: TClass
//     Prop = 12 | -3 | $FF | 'text'#13#10'more' | Ident | [a, b] |
//            ('line 1' 'line 2') | { 474946 } | file 'relative/path'
//     object Child: TClass ... end
//   end
// Strings are UTF-8; #n stands for the byte n; '' is a quote. "file" reads a
// byte block from a file relative to `baseDir` (only when baseDir is given).
// Byte blocks, files and strings joined by "+" make one byte block:
//     Picture.Data = #9'TGIFImage' + file 'logo.gif'
// Throws EReadError with "line N: ..." on a syntax error.
TStoredObject ParseStoredText(std::string_view text, const std::string& baseDir = {});
// The text form, in the same order; parsing it gives the same object back.
std::string PrintStoredText(const TStoredObject& root);
