#include "imaging/ExtensionTest.h"

#include "base/AnsiText.h"

namespace pelmira {

std::string ExtensionOf(std::string_view path) {
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t n = CharLength(path, i);
        if (n == 1) {
            if (path[i] == '.')
                dot = i;
            else if (path[i] == '\\' || path[i] == ':')
                dot = std::string_view::npos;
        }
        i += n;
    }
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

bool IsPlainBitmap(std::string_view path) {
    const std::string ext = AnsiUpperCase(ExtensionOf(path));
    const std::string_view cut = std::string_view(ext).substr(0, 4);
    return cut == ".BMP" || cut == ".RLE";
}

} // namespace pelmira
