#include "framework/core/SetProperties.h"

#include "framework/core/ClassRecord.h"

#include <bit>
#include <cctype>
#include <utility>
#include <vector>

namespace Ovelund {

namespace {

class BlockReader {
public:
    explicit BlockReader(std::string_view block) : block_(block) {}

    bool AtEnd() const { return at_ == block_.size(); }

    std::string_view Key() {
        const std::size_t blank = block_.find(' ', at_);
        if (blank == std::string_view::npos)
            Fail("block ends inside a key");
        std::string_view key = block_.substr(at_, blank - at_);
        if (key.empty() || std::isdigit(static_cast<unsigned char>(key.front())))
            Fail("a key must begin with a letter or an underscore");
        for (char c : key)
            if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
                Fail("a key holds only letters, digits and underscores");
        at_ = blank + 1;
        return key;
    }

    std::uint8_t Byte() {
        Need(1);
        return static_cast<std::uint8_t>(block_[at_++]);
    }

    std::uint32_t Word() {
        Need(4);
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = (value << 8) | static_cast<std::uint8_t>(block_[at_++]);
        return value;
    }

    String Text() {
        const std::uint32_t length = Word();
        Need(length);
        String text(block_.substr(at_, length));
        at_ += length;
        return text;
    }

    PropertyValue Value(PropertyType type) {
        switch (type) {
        case PropertyType::Int32:
            return static_cast<std::int32_t>(Word()); // two's complement, defined since C++20
        case PropertyType::Boolean: {
            const std::uint8_t byte = Byte();
            if (byte > 1)
                Fail("a Boolean value is 00 or 01");
            return byte == 1;
        }
        case PropertyType::Color: {
            Color color;
            color.red = Byte();
            color.green = Byte();
            color.blue = Byte();
            return color;
        }
        case PropertyType::String:
            return Text();
        case PropertyType::Single:
            return std::bit_cast<float>(Word());
        case PropertyType::Byte:
            return Byte();
        }
        Fail("unknown property type");
    }

    [[noreturn]] void Fail(const char* what) const {
        throw RuntimeException(String("malformed design block at byte ") + std::to_string(at_) + ": " + what);
    }

private:
    void Need(std::size_t bytes) const {
        if (block_.size() - at_ < bytes)
            Fail("block ends inside a value");
    }

    std::string_view block_;
    std::size_t at_ = 0;
};

} // namespace

void SetProperties(Object& object, std::string_view block) {
    const ClassRecord& record = object.Record();
    BlockReader reader(block);
    std::vector<std::pair<const PropertyRecord*, PropertyValue>> entries;
    while (!reader.AtEnd()) {
        std::string_view key = reader.Key();
        const PropertyRecord* property = record.FindProperty(key);
        if (!property || !property->set)
            throw RuntimeException("malformed design block: " + record.FullName() + " has no property " +
                                   String(key));
        entries.emplace_back(property, reader.Value(property->type));
    }
    for (auto& [property, value] : entries)
        property->set(object, value);
}

} // namespace Ovelund
