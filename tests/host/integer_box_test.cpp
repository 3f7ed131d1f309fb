#include "ui/integer_box.h"

#include <gtest/gtest.h>

TEST(IntegerBox, TypingAcceptsControlCharactersDigitsAndMinus) {
    for (char32_t c : {U'0', U'5', U'9', U'-', char32_t{8}, char32_t{3}, char32_t{22}, char32_t{0}, char32_t{31}})
        EXPECT_TRUE(integerBox::acceptsTypedCharacter(c)) << unsigned(c);
    for (char32_t c : {U'a', U'+', U' ', U'.', U'/', U':', char32_t{127}, U'０', U'中'})
        EXPECT_FALSE(integerBox::acceptsTypedCharacter(c)) << unsigned(c);
}

TEST(IntegerBox, LeavingRewritesTheLeadingWholeNumber) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"05", "5"},
        {"0", ""},
        {"-0", ""},
        {"-", ""},
        {"", ""},
        {"9-", "9"},
        {"12x", "12"},
        {" 5", "5"},
        {"\t\r\n-12", "-12"},
        {"+7", "7"},
        {"x5", ""},
        {"- 5", ""},
        {"--5", ""},
        {"-5", "-5"},
        {"999", "999"},
        {"-99", "-99"},
        {"007", "7"},
        {"2147483647", "2147483647"},
        {"2147483648", "2147483647"},
        {"-2147483648", "-2147483648"},
        {"-2147483649", "-2147483648"},
        {"99999999999999999999999", "2147483647"},
        {"-99999999999999999999999", "-2147483648"},
    };
    for (const Case& c : cases) EXPECT_EQ(integerBox::normalised(c.text), c.expected) << '"' << c.text << '"';
}
