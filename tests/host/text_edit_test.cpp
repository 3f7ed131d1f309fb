#include "platform/text_edit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace textedit;

namespace {

// Latin 10 pixels, CJK 20, anything beyond the basic plane 20; counts its calls.
class FixedMeasure final : public Measure {
public:
    int advance(char32_t c) override {
        ++calls;
        return c >= 0x10000 || (c >= 0x4E00 && c <= 0x9FFF) ? 20 : 10;
    }
    long calls = 0;
};

std::string utf8(std::u16string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size()) c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        if (c < 0x80) out += char(c);
        else if (c < 0x800) out += {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
        else if (c < 0x10000) out += {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
        else
            out += {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)),
                    char(0x80 | (c & 0x3F))};
    }
    return out;
}

std::vector<std::string> shown(std::u16string_view text, const std::vector<Line>& lines) {
    std::vector<std::string> out;
    for (const Line& l : lines) out.push_back(utf8(text.substr(l.start, l.end - l.start)));
    return out;
}

std::vector<std::string> wrapped(std::u16string_view text, int width, int tabWidth = 40) {
    FixedMeasure m;
    return shown(text, wrap(text, width, tabWidth, m));
}

using Lines = std::vector<std::string>;

} // namespace

TEST(TextWrap, BreaksAtBlanksOrWhereAWordOverflows) {
    struct Case {
        const char16_t* text;
        int width;
        Lines expected;
    } cases[] = {
        {u"", 100, {""}},
        {u"abc", 100, {"abc"}},
        {u"abc", 30, {"abc"}},                               // exactly the width
        {u"aaaa bbbb", 60, {"aaaa ", "bbbb"}},               // the blank stays at the end of the first line
        {u"abcdefghij", 35, {"abc", "def", "ghi", "j"}},     // no blank: break where it overflows
        {u"ab cdefghij", 50, {"ab ", "cdefg", "hij"}},       // the word carried over still breaks
        {u"ab    cd", 30, {"ab    ", "cd"}},                 // blanks hang past the width
        {u"ab\r\ncd\nef\rgh", 100, {"ab", "cd", "ef", "gh"}}, // every kind of hard break
        {u"ab\r\n", 100, {"ab", ""}},
        {u"\r\n\r\n", 100, {"", "", ""}},
        {u"中文字符", 50, {"中文", "字符"}},
        {u"a😀b", 15, {"a", "😀", "b"}},                      // a pair is never split, a line holds one character
        {u"x", 1, {"x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(utf8(c.text));
        EXPECT_EQ(wrapped(c.text, c.width), c.expected);
    }
}

TEST(TextWrap, TabsReachTheNextStopFromWhereTheyStart) {
    FixedMeasure m;
    std::u16string text = u"a\tb\t\tc";
    // a=10, tab to 40, b=10, tab to 80, tab to 120, c.
    EXPECT_EQ(advanceAt(text, 1, 10, 40, m), 30);
    EXPECT_EQ(advanceAt(text, 3, 50, 40, m), 30);
    EXPECT_EQ(advanceAt(text, 4, 80, 40, m), 40);
    EXPECT_EQ(wrapped(text, 200), (Lines{"a\tb\t\tc"}));
    EXPECT_EQ(wrapped(text, 100), (Lines{"a\tb\t\t", "c"}));
}

// A quadratic wrap is what froze the window on a megabyte-long rule.
TEST(TextWrap, AMegabyteLineWrapsInOnePassWithNothingCut) {
    std::u16string text;
    for (size_t i = 0; i < (1u << 20); ++i) text += char16_t(u'a' + i % 26);
    FixedMeasure m;
    std::vector<Line> lines = wrap(text, 240, 40, m);
    EXPECT_LE(m.calls, static_cast<long>(text.size()) + 16);
    ASSERT_EQ(lines.size(), (text.size() + 23) / 24);
    size_t expectedStart = 0;
    for (const Line& l : lines) {
        ASSERT_EQ(l.start, expectedStart);
        ASSERT_LE(l.end - l.start, 24u);
        expectedStart = l.end;
    }
    EXPECT_EQ(expectedStart, text.size());
}

namespace {
struct TextEditor : ::testing::Test {
    FixedMeasure m;
    Editor e{m};
    void SetUp() override { e.setGeometry(100, 40); } // ten Latin characters a line
    std::string text() const { return utf8(e.text()); }
    std::string selected() const { return utf8(e.selectedText()); }
};
} // namespace

TEST_F(TextEditor, TypingMergesIntoOneUndoStepAndUndoTakesItselfBack) {
    e.type(u"a");
    e.type(u"b");
    e.type(u"c");
    EXPECT_EQ(text(), "abc");
    EXPECT_TRUE(e.modified());
    ASSERT_TRUE(e.undo());
    EXPECT_EQ(text(), "");
    ASSERT_TRUE(e.undo());
    EXPECT_EQ(text(), "abc");
    EXPECT_EQ(selected(), "abc");

    // A paste is its own step, and so is a run of backspaces.
    e.move(Move::End, false);
    e.paste(u"XYZ");
    e.deleteBackward(false);
    e.deleteBackward(false);
    EXPECT_EQ(text(), "abcX");
    ASSERT_TRUE(e.undo());
    EXPECT_EQ(text(), "abcXYZ");
    ASSERT_TRUE(e.undo());
    EXPECT_EQ(text(), "abcX");

    // Setting the whole text or an edit that cannot be undone leaves nothing to undo.
    e.replaceSelection(u"!", false);
    EXPECT_FALSE(e.canUndo());
    e.setText(u"fresh");
    EXPECT_FALSE(e.canUndo());
    EXPECT_FALSE(e.modified());
    EXPECT_EQ(e.caret(), 0u);
}

TEST_F(TextEditor, TypingOverASelectionReplacesItAndDeleteKeysRemoveWholeCharacters) {
    e.setText(u"ab\r\ncd😀e");
    e.select(1, 5);
    e.type(u"Z");
    EXPECT_EQ(text(), "aZd😀e");
    e.select(3, 3);
    e.deleteForward(false); // the whole pair
    EXPECT_EQ(text(), "aZde");
    e.setText(u"ab\r\ncd");
    e.select(4, 4);
    e.deleteBackward(false); // the whole line break
    EXPECT_EQ(text(), "abcd");
    e.setText(u"one two three");
    e.move(Move::End, false);
    e.deleteBackward(true);
    EXPECT_EQ(text(), "one two ");
    e.move(Move::Start, false);
    EXPECT_TRUE(e.deleteForward(true));
    EXPECT_EQ(text(), "two ");
    EXPECT_FALSE(e.deleteBackward(false)); // nothing before the caret
    e.move(Move::End, false);
    EXPECT_FALSE(e.deleteForward(false));
}

TEST_F(TextEditor, PositionsNeverSplitAPairOrALineBreak) {
    e.setText(u"a😀\r\nb");
    struct Case {
        size_t asked, got;
    } cases[] = {{2, 1}, {3, 3}, {4, 3}, {5, 5}, {99, 6}};
    for (const Case& c : cases) {
        e.select(c.asked, c.asked);
        EXPECT_EQ(e.caret(), c.got) << c.asked;
    }
    e.select(0, 0);
    std::vector<size_t> rights;
    for (int i = 0; i < 4; ++i) {
        e.move(Move::Right, false);
        rights.push_back(e.caret());
    }
    EXPECT_EQ(rights, (std::vector<size_t>{1, 3, 5, 6}));
}

TEST_F(TextEditor, WordMotionsStopWhereTheKindOfCharacterChanges) {
    e.setText(u".menu-list .menu{margin:0;}\r\nnext");
    std::vector<size_t> stops;
    e.select(0, 0);
    for (int i = 0; i < 8; ++i) {
        e.move(Move::WordRight, false);
        stops.push_back(e.caret());
    }
    EXPECT_EQ(stops, (std::vector<size_t>{1, 5, 6, 11, 12, 16, 17, 23}));
    e.move(Move::End, false);
    e.move(Move::WordLeft, false);
    EXPECT_EQ(e.caret(), 29u); // start of "next"
    e.move(Move::WordLeft, false);
    EXPECT_EQ(e.caret(), 27u); // before the line break
    e.selectWordAt(18);
    EXPECT_EQ(selected(), "margin");
    e.setText(u"two words");
    e.selectWordAt(1);
    EXPECT_EQ(selected(), "two ");
}

TEST_F(TextEditor, UpAndDownKeepTheColumnAndLineEndStaysOnAWrappedLine) {
    // Three lines of ten, then one of five: "abcdefghij|klmnopqrst|uvwxyzABCD|EFGHI".
    e.setText(u"abcdefghijklmnopqrstuvwxyzABCDEFGHI");
    ASSERT_EQ(e.lines().size(), 4u);
    e.select(8, 8);
    e.move(Move::Down, false);
    EXPECT_EQ(e.caret(), 18u);
    e.move(Move::Down, false);
    e.move(Move::Down, false);
    EXPECT_EQ(e.caret(), 35u); // the short last line: its end
    e.move(Move::Up, false);
    EXPECT_EQ(e.caret(), 28u); // the column comes back
    e.move(Move::LineEnd, false);
    EXPECT_EQ(e.caret(), 30u);
    EXPECT_EQ(e.caretLine(), 2u); // at the end of line 2, not the start of line 3
    e.move(Move::LineStart, false);
    EXPECT_EQ(e.caret(), 20u);
    e.move(Move::PageDown, true, 2); // a page past the last line stops on it
    EXPECT_EQ(e.caret(), 30u);
    EXPECT_EQ(selected(), "uvwxyzABCD");
    e.move(Move::PageUp, false, 9);
    EXPECT_EQ(e.caret(), 0u);
    e.move(Move::Left, false);
    EXPECT_EQ(e.caret(), 0u);
}

TEST_F(TextEditor, AClickFindsTheNearestBoundary) {
    e.setText(u"abcdefghijkl\r\n中文");
    struct Case {
        size_t line;
        int x;
        size_t caret, caretLine;
    } cases[] = {
        {0, 0, 0, 0}, {0, 4, 0, 0}, {0, 5, 1, 0}, {0, 96, 10, 0}, {0, 500, 10, 0}, // past the end of a wrapped line
        {1, 500, 12, 1},                                                       // before the hard break
        {2, 9, 14, 2},  {2, 10, 15, 2}, {2, 300, 16, 2},
    };
    for (const Case& c : cases) {
        e.placeCaret(c.line, c.x, false);
        EXPECT_EQ(e.caret(), c.caret) << c.line << "," << c.x;
        EXPECT_EQ(e.caretLine(), c.caretLine) << c.line << "," << c.x;
    }
    e.placeCaret(0, 20, false);
    e.placeCaret(2, 10, true);
    EXPECT_EQ(selected(), "cdefghijkl\r\n中");
}

TEST_F(TextEditor, TheLimitCutsWhatComesInButNeverHalfAPair) {
    e.setLimit(4);
    e.paste(u"abcdef");
    EXPECT_EQ(text(), "abcd");
    e.setText(u"ab");
    e.move(Move::End, false);
    e.paste(u"c😀");
    EXPECT_EQ(text(), "abc");
    e.select(0, 3);
    e.paste(u"😀😀😀");
    EXPECT_EQ(text(), "😀😀");
    // A full box takes nothing more and says the text did not change.
    e.move(Move::End, false);
    EXPECT_FALSE(e.type(u"x"));
    EXPECT_EQ(text(), "😀😀");
}
