#include "css/colour_text.h"

std::string cssColourText(Colour colour) {
    // Two digits per byte, always: a byte below 0x10 keeps its leading zero.
    static constexpr char digits[] = "0123456789abcdef";
    std::string text = "#";
    for (int shift : {0, 8, 16}) { // red, green, blue; the top byte plays no part
        const unsigned byte = (colour >> shift) & 0xFF;
        text += digits[byte >> 4];
        text += digits[byte & 0xF];
    }
    return text;
}
