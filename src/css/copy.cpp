#include "css/copy.h"

#include <string>

void copyBoxToClipboard(Form& form, std::string_view box) {
    const std::string text = form.text(box);
    // The confirmation only once the text is really on the clipboard; a
    // clipboard held by another program gets the error, and the box keeps its text.
    if (form.putOnClipboard(text))
        form.showMessage(copyConfirmationText, copyConfirmationCaption);
    else
        form.showMessage(copyFailedText, copyFailedCaption);
}
