// The formatted print of the conversion helpers: each directive is handed to the C
// library on its own, so that the 64-bit "I64" size prefix can be translated and the
// output stays inside the caller's buffer.
#include "core/support/TextConv.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace dualvex {

namespace {

// The argument type a directive consumes, so that each directive can be handed to
// the C library on its own with exactly the argument it names.
enum class ArgKind {
    Percent,
    Int,
    UInt,
    Long,
    ULong,
    LongLong,
    ULongLong,
    Size,
    USize,
    IntMax,
    UIntMax,
    PtrDiff,
    UPtrDiff,
    Double,
    LongDouble,
    Pointer,
    String,
    Count,
};

struct Directive {
    char format[48]; // the directive in standard notation, e.g. "%-08llX"
    int length = 0;  // characters of the caller's format that it covers
    int stars = 0;   // '*' width and precision arguments in front of the value
    ArgKind kind = ArgKind::Int;
};

enum class Size { Default, Long, LongLong, SizeT, IntMax, PtrDiff, LongDouble };

struct SizeModifier {
    const char* text;     // as written in the caller's format
    const char* standard; // as the C library knows it
    Size size;
};

// Reads the length modifier at p into d's format; the 64-bit "I64" becomes "ll".
int ParseSize(const char* p, Directive* d, int* o, Size* size)
{
    static constexpr SizeModifier kModifiers[] = {
        {"I64", "ll", Size::LongLong}, {"ll", "ll", Size::LongLong}, {"hh", "hh", Size::Default},
        {"h", "h", Size::Default},     {"l", "l", Size::Long},       {"z", "z", Size::SizeT},
        {"j", "j", Size::IntMax},      {"t", "t", Size::PtrDiff},    {"L", "L", Size::LongDouble},
    };
    for (const SizeModifier& m : kModifiers) {
        const std::size_t n = std::strlen(m.text);
        if (std::strncmp(p, m.text, n) != 0) continue;
        for (const char* s = m.standard; *s; ++s) d->format[(*o)++] = *s;
        *size = m.size;
        return static_cast<int>(n);
    }
    return 0;
}

bool KindOf(char conversion, Size size, ArgKind* kind)
{
    static constexpr ArgKind kSigned[] = {ArgKind::Int,  ArgKind::Long,   ArgKind::LongLong,
                                          ArgKind::Size, ArgKind::IntMax, ArgKind::PtrDiff};
    static constexpr ArgKind kUnsigned[] = {ArgKind::UInt,  ArgKind::ULong,   ArgKind::ULongLong,
                                            ArgKind::USize, ArgKind::UIntMax, ArgKind::UPtrDiff};
    const bool plain = size == Size::Default;
    const int index = static_cast<int>(size);
    switch (conversion) {
    case 'd':
    case 'i': *kind = kSigned[index % 6]; return size != Size::LongDouble;
    case 'u':
    case 'o':
    case 'x':
    case 'X': *kind = kUnsigned[index % 6]; return size != Size::LongDouble;
    case 'c': *kind = ArgKind::Int; return plain;
    case 's': *kind = ArgKind::String; return plain;
    case 'p': *kind = ArgKind::Pointer; return plain;
    case 'n': *kind = ArgKind::Count; return true;
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        *kind = size == Size::LongDouble ? ArgKind::LongDouble : ArgKind::Double;
        return plain || size == Size::Long || size == Size::LongDouble;
    default: return false;
    }
}

// Parses the directive starting at the "%" at p; false when it is not one this
// function can pass on safely.
bool ParseDirective(const char* p, Directive* d)
{
    int i = 1, o = 0;
    d->format[o++] = '%';
    if (p[1] == '%') {
        d->kind = ArgKind::Percent;
        d->length = 2;
        return true;
    }
    constexpr int kMaxSpec = 36; // leaves room for the modifier, conversion and terminator
    while (p[i] && std::strchr("-+ #0", p[i]) && o < kMaxSpec) d->format[o++] = p[i++];
    for (int part = 0; part < 2; ++part) {
        if (part == 1) {
            if (p[i] != '.') break;
            d->format[o++] = p[i++];
        }
        if (p[i] == '*') {
            d->format[o++] = p[i++];
            ++d->stars;
        } else {
            while (p[i] >= '0' && p[i] <= '9' && o < kMaxSpec) d->format[o++] = p[i++];
        }
        if (o >= kMaxSpec) return false;
    }
    Size size = Size::Default;
    i += ParseSize(p + i, d, &o, &size);
    if (!KindOf(p[i], size, &d->kind)) return false;
    d->format[o++] = p[i++];
    d->format[o] = '\0';
    d->length = i;
    return true;
}

template <typename T>
int EmitValue(char* out, std::size_t room, const Directive& d, const int* stars, T value)
{
    switch (d.stars) {
    case 0: return std::snprintf(out, room, d.format, value);
    case 1: return std::snprintf(out, room, d.format, stars[0], value);
    default: return std::snprintf(out, room, d.format, stars[0], stars[1], value);
    }
}

int EmitDirective(char* out, std::size_t room, const Directive& d, std::va_list* args)
{
    int stars[2] = {0, 0};
    for (int i = 0; i < d.stars; ++i) stars[i] = va_arg(*args, int);
    using SSize = std::make_signed_t<std::size_t>;
    using UPtrDiff = std::make_unsigned_t<std::ptrdiff_t>;
    switch (d.kind) {
    case ArgKind::Int: return EmitValue(out, room, d, stars, va_arg(*args, int));
    case ArgKind::UInt: return EmitValue(out, room, d, stars, va_arg(*args, unsigned));
    case ArgKind::Long: return EmitValue(out, room, d, stars, va_arg(*args, long));
    case ArgKind::ULong: return EmitValue(out, room, d, stars, va_arg(*args, unsigned long));
    case ArgKind::LongLong: return EmitValue(out, room, d, stars, va_arg(*args, long long));
    case ArgKind::ULongLong: return EmitValue(out, room, d, stars, va_arg(*args, unsigned long long));
    case ArgKind::Size: return EmitValue(out, room, d, stars, va_arg(*args, SSize));
    case ArgKind::USize: return EmitValue(out, room, d, stars, va_arg(*args, std::size_t));
    case ArgKind::IntMax: return EmitValue(out, room, d, stars, va_arg(*args, std::intmax_t));
    case ArgKind::UIntMax: return EmitValue(out, room, d, stars, va_arg(*args, std::uintmax_t));
    case ArgKind::PtrDiff: return EmitValue(out, room, d, stars, va_arg(*args, std::ptrdiff_t));
    case ArgKind::UPtrDiff: return EmitValue(out, room, d, stars, va_arg(*args, UPtrDiff));
    case ArgKind::Double: return EmitValue(out, room, d, stars, va_arg(*args, double));
    case ArgKind::LongDouble: return EmitValue(out, room, d, stars, va_arg(*args, long double));
    case ArgKind::Pointer: return EmitValue(out, room, d, stars, va_arg(*args, void*));
    case ArgKind::String: return EmitValue(out, room, d, stars, va_arg(*args, const char*));
    case ArgKind::Count:
        // Writing a count through a pointer taken from the argument list is never
        // wanted here: the argument is consumed and nothing is written.
        (void)va_arg(*args, void*);
        return 0;
    case ArgKind::Percent: break;
    }
    return 0;
}

} // namespace

int PrintText(char* dest, std::size_t destSize, const char* format, ...)
{
    if (!dest || destSize == 0) return 0;
    std::size_t len = 0;
    std::va_list args;
    va_start(args, format);
    for (const char* p = format ? format : ""; *p && len + 1 < destSize;) {
        Directive d;
        if (*p != '%') {
            dest[len++] = *p++;
        } else if (!ParseDirective(p, &d)) {
            // Without knowing the argument types nothing further can be read safely;
            // the rest of the format is shown as it is.
            const std::size_t room = std::min<std::size_t>(destSize - len, INT_MAX);
            len += static_cast<std::size_t>(CopyText(dest + len, p, static_cast<int>(room)));
            break;
        } else if (d.kind == ArgKind::Percent) {
            dest[len++] = '%';
            p += d.length;
        } else {
            const int n = EmitDirective(dest + len, destSize - len, d, &args);
            if (n > 0) len += std::min(static_cast<std::size_t>(n), destSize - len - 1);
            p += d.length;
        }
    }
    va_end(args);
    dest[len] = '\0';
    return static_cast<int>(len);
}

} // namespace dualvex
