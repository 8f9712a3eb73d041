#include "unicode_text.h"

namespace {

uint32_t ByteAt(std::string_view text, size_t at) {
    return static_cast<unsigned char>(text[at]);
}

}  // namespace

void AppendUtf8(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Utf16ToUtf8(std::string_view text, bool bigEndian) {
    constexpr uint32_t kReplacement = 0xFFFD;
    auto unit = [&](size_t at) -> uint32_t {
        const uint32_t first = ByteAt(text, at), second = ByteAt(text, at + 1);
        return bigEndian ? first << 8 | second : second << 8 | first;
    };
    std::string out;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        const uint32_t code = unit(i);
        if (code == 0) break;
        if (code >= 0xD800 && code < 0xDC00 && i + 3 < text.size()) {
            const uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        AppendUtf8(out, code >= 0xD800 && code < 0xE000 ? kReplacement : code);
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const uint32_t lead = ByteAt(text, i);
        size_t length;
        uint32_t code, least;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2, code = lead & 0x1F, least = 0x80;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3, code = lead & 0x0F, least = 0x800;
        } else if (lead >= 0xF0 && lead < 0xF5) {
            length = 4, code = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((ByteAt(text, i + k) & 0xC0) != 0x80) return false;
            code = code << 6 | (ByteAt(text, i + k) & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) return false;
        i += length;
    }
    return true;
}

std::optional<std::string_view> MarkedUnicode(std::string_view bytes, std::string& storage) {
    if (bytes.starts_with("\xEF\xBB\xBF")) return bytes.substr(3);
    if (!bytes.starts_with("\xFF\xFE") && !bytes.starts_with("\xFE\xFF")) return std::nullopt;
    storage = Utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
    return storage;
}
