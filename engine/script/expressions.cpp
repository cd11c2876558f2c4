// A recursive-descent reader over the expression text wrapped in parentheses.

#include "engine/script/expressions.h"

#include <optional>
#include <utility>

namespace pellion {

namespace {

// An optional sign and at least one decimal digit.
bool isIntegerText(std::u16string_view text)
{
    if (!text.empty() && (text[0] == u'+' || text[0] == u'-'))
        text.remove_prefix(1);
    if (text.empty())
        return false;
    for (const char16_t c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// Compares two integer texts by value, whatever their length, so that large
// numbers never wrap into a wrong order.
int compareIntegerTexts(std::u16string_view a, std::u16string_view b)
{
    auto split = [](std::u16string_view text) {
        bool negative = false;
        if (text[0] == u'+' || text[0] == u'-') {
            negative = text[0] == u'-';
            text.remove_prefix(1);
        }
        while (text.size() > 1 && text[0] == u'0')
            text.remove_prefix(1);
        if (text == u"0")
            negative = false;
        return std::pair{negative, text};
    };
    const auto [aNegative, aDigits] = split(a);
    const auto [bNegative, bDigits] = split(b);
    if (aNegative != bNegative)
        return aNegative ? -1 : 1;
    int magnitude = aDigits.size() != bDigits.size() ? (aDigits.size() < bDigits.size() ? -1 : 1)
                                                     : aDigits.compare(bDigits);
    magnitude = magnitude < 0 ? -1 : (magnitude > 0 ? 1 : 0);
    return aNegative ? -magnitude : magnitude;
}

class ExpressionReader {
public:
    explicit ExpressionReader(std::u16string text) : text_(std::move(text)) {}

    std::u16string evaluate()
    {
        const auto value = term();
        skipBlanks();
        if (!value || failed_ || pos_ != text_.size())
            return u"ERROR";
        return *value ? u"TRUE" : u"FALSE";
    }

private:
    void skipBlanks()
    {
        while (pos_ < text_.size() && text_[pos_] == u' ')
            ++pos_;
    }

    // The run of characters up to the next blank or double quote.
    std::u16string_view word()
    {
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != u' ' && text_[pos_] != u'"')
            ++pos_;
        return std::u16string_view(text_).substr(start, pos_ - start);
    }

    void fail() { failed_ = true; }

    // expression := term { connective term }, ending at ")" or the end.
    std::optional<bool> expression()
    {
        auto value = term();
        if (!value)
            return std::nullopt;
        for (;;) {
            skipBlanks();
            if (pos_ >= text_.size() || text_[pos_] == u')')
                return value;
            const std::u16string_view connective = word();
            const bool isAnd = connective == u"and";
            if (!isAnd && connective != u"or") {
                fail();
                return std::nullopt;
            }
            const auto right = term();  // always evaluated, whatever the left side
            if (!value || !right)
                return std::nullopt;
            value = isAnd ? (*value && *right) : (*value || *right);
        }
    }

    std::optional<bool> term()
    {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == u'(') {
            ++pos_;
            const auto value = expression();
            skipBlanks();
            if (pos_ >= text_.size() || text_[pos_] != u')') {
                fail();
                return std::nullopt;
            }
            ++pos_;
            return value;
        }
        return comparison();
    }

    std::optional<std::u16string> quoted()
    {
        skipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != u'"')
            return std::nullopt;
        ++pos_;
        std::u16string value;
        while (pos_ < text_.size()) {
            const char16_t c = text_[pos_++];
            if (c != u'"') {
                value.push_back(c);
            } else if (pos_ < text_.size() && text_[pos_] == u'"') {
                value.push_back(u'"');
                ++pos_;
            } else {
                return value;
            }
        }
        return std::nullopt;  // no closing quote
    }

    std::optional<bool> comparison()
    {
        const auto left = quoted();
        if (!left) {
            fail();
            return std::nullopt;
        }
        skipBlanks();
        const std::u16string op(word());
        const auto right = quoted();
        if (!right) {
            fail();
            return std::nullopt;
        }
        const int order = isIntegerText(*left) && isIntegerText(*right) ? compareIntegerTexts(*left, *right)
                                                                        : left->compare(*right);
        if (op == u"=") return order == 0;
        if (op == u"<>") return order != 0;
        if (op == u"<=") return order <= 0;
        if (op == u"<") return order < 0;
        if (op == u">=") return order >= 0;
        if (op == u">") return order > 0;
        fail();
        return std::nullopt;
    }

    std::u16string text_;
    size_t pos_ = 0;
    bool failed_ = false;
};

}  // namespace

std::u16string EvaluateExpression(std::u16string_view text)
{
    return ExpressionReader(u"(" + std::u16string(text) + u")").evaluate();
}

bool ExpressionSyntaxOk(std::u16string_view text)
{
    std::u16string quotedReferences(text);
    for (auto& c : quotedReferences)
        if (c == u'$')
            c = u'"';
    return EvaluateExpression(quotedReferences) != u"ERROR";
}

}  // namespace pellion
