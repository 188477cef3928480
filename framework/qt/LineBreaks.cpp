#include "framework/qt/LineBreaks.h"

#include <iterator>

namespace Ovelund {

namespace {

// The rule, over the toolkit's text units or UTF-8 bytes alike: CR LF is one line break, and a lone CR and
// an LF are one each; each becomes an LF.
template <class Result, class Source> Result Uniform(const Source& text) {
    using Unit = typename Result::value_type;
    const Unit cr = static_cast<Unit>(u'\r');
    const Unit lf = static_cast<Unit>(u'\n');
    Result uniform;
    uniform.reserve(text.size());
    for (auto at = text.begin(); at != text.end(); ++at) {
        if (*at != cr) {
            uniform.push_back(*at);
            continue;
        }
        uniform.push_back(lf);
        if (std::next(at) != text.end() && *std::next(at) == lf)
            ++at;
    }
    return uniform;
}

} // namespace

QString WithUniformLineBreaks(QString text) {
    if (!text.contains(QLatin1Char('\r')))
        return text;
    return Uniform<QString>(text);
}

String WithUniformLineBreaks(std::string_view text) {
    return Uniform<String>(text);
}

} // namespace Ovelund
