// Stored descriptions from untrusted bytes: the binary reader and the source
// parser must refuse what is malformed and round-trip what they accept.
#include <cstdlib>

#include "component/stream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        TStoredObject o = ReadStoredObject(data, size);
        if (ReadStoredObject(WriteStoredObject(o)) != o) std::abort();
        if (ParseStoredText(PrintStoredText(o)) != o) std::abort();
    } catch (const EReadError&) {
    }
    try {
        TStoredObject o = ParseStoredText(std::string_view(reinterpret_cast<const char*>(data), size));
        if (ParseStoredText(PrintStoredText(o)) != o) std::abort();
    } catch (const EReadError&) {
    }
    return 0;
}
