// The in-memory form: the port as native tests need it. Controls come from the
// layout table with their starting values; the clipboard, message boxes, files
// and library calls are plain data a test sets up and reads back; every port
// operation is also written, in order, to one journal.
#pragma once

#include "platform/form.h"
#include "ui/layout.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

// Where the real runtime would show its fatal-error box and end the process
// with exit code -1.
struct UnresolvedCall : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A handler addressed a control that does not exist, or used a property its
// kind does not have: a fault in the program, never a case to handle.
struct PortMisuse : std::logic_error {
    using std::logic_error::logic_error;
};

struct LibraryCall {
    std::string library;
    std::string function;
    std::vector<Word> args;
    // For the arguments the function takes as texts, the text they pointed to
    // during the call; nullopt for other arguments and for null pointers.
    std::vector<std::optional<std::string>> texts;
    bool resolved = true;
};

struct Message {
    std::string text;
    std::string caption;
    bool operator==(const Message&) const = default;
};

struct FileEntry {
    bool directory = false;
    std::vector<std::uint8_t> bytes;
};

class HostForm final : public Form {
public:
    // Becomes the active form until destroyed.
    HostForm();
    ~HostForm() override;
    HostForm(const HostForm&) = delete;
    HostForm& operator=(const HostForm&) = delete;

    // The port.
    std::string text(std::string_view control) override;
    void setText(std::string_view control, std::string_view text) override;
    Colour colour(std::string_view control) override;
    void setBackColour(std::string_view control, Colour colour) override;
    void setTextColour(std::string_view control, Colour colour) override;
    void showMessage(std::string_view text, std::string_view caption) override;
    bool putOnClipboard(std::string_view text) override;
    bool fileExists(std::string_view path) override;
    bool writeFile(std::string_view path, std::span<const std::uint8_t> bytes) override;
    Word callLibrary(std::string_view library, std::string_view function,
                     std::initializer_list<Word> args) override;
    std::optional<Word> tryCallLibrary(std::string_view library, std::string_view function,
                                       std::initializer_list<Word> args) override;
    Word mainWindowHandle() override;
    void trace(std::string_view line) override;

    // The user's side of the controls, and what a test reads back; none of
    // these is journalled.
    void setPickerColour(std::string_view picker, Colour colour);
    void setBoxText(std::string_view box, std::string_view text);
    std::string boxText(std::string_view box) const;
    Colour backColourOf(std::string_view shape) const;
    Colour textColourOf(std::string_view label) const;

    // Library calls: results by function name (0 when not set), or a handler
    // that sees the call while it is made.
    void setResult(std::string_view function, Word result);
    void setHandler(std::string_view function, std::function<Word(const LibraryCall&)> handler);
    // The function cannot be resolved; an empty function name makes the whole
    // library unloadable.
    void makeUnresolvable(std::string_view library, std::string_view function = {});
    std::vector<LibraryCall> callsOf(std::string_view function) const;

    // Adds a line of the host runtime's own to the journal.
    void note(std::string line);

    // Which arguments of a function are texts, for LibraryCall::texts.
    std::map<std::string, std::vector<std::size_t>, std::less<>> textArguments = {
        {"ShellExecuteA", {1, 2, 3, 4}},
        {"SkinH_AttachEx", {0, 1}},
    };

    std::optional<std::string> clipboard; // nullopt: nothing was ever placed
    bool clipboardRefuses = false;        // as while another program holds it

    std::vector<Message> messages;
    std::function<void(const Message&)> whileMessageShown; // runs while the box is open

    std::map<std::string, FileEntry, std::less<>> files;
    std::set<std::string, std::less<>> failingWrites; // writes to these paths fail

    std::vector<LibraryCall> calls;
    Word window = 0x51ed0;
    std::vector<std::string> traces;
    std::vector<std::string> journal;

private:
    struct ControlState {
        layout::Kind kind;
        std::string text;
        Colour colour; // picker colour, shape background or label text colour
    };
    ControlState& control(std::string_view name, layout::Kind kind);
    const ControlState& control(std::string_view name, layout::Kind kind) const;
    LibraryCall record(std::string_view library, std::string_view function, std::initializer_list<Word> args);
    bool resolvable(std::string_view library, std::string_view function) const;
    Word result(const LibraryCall& call);

    std::map<std::string, ControlState, std::less<>> controls_;
    std::map<std::string, Word, std::less<>> results_;
    std::map<std::string, std::function<Word(const LibraryCall&)>, std::less<>> handlers_;
    std::set<std::pair<std::string, std::string>> unresolvable_;
};

} // namespace host
