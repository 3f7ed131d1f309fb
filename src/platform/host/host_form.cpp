#include "platform/host/host_form.h"

#include <algorithm>

namespace host {

namespace {

const char* kindName(layout::Kind kind) {
    switch (kind) {
    case layout::Kind::Window: return "window";
    case layout::Kind::Tab: return "Tab";
    case layout::Kind::GroupBox: return "GroupBox";
    case layout::Kind::TransLabel: return "TransLabel";
    case layout::Kind::ColorPicker: return "ColorPicker";
    case layout::Kind::EditBox: return "EditBox";
    case layout::Kind::Button: return "Button";
    case layout::Kind::ShapeBox: return "ShapeBox";
    case layout::Kind::PicBox: return "PicBox";
    }
    return "?";
}

std::string callName(std::string_view library, std::string_view function) {
    return std::string(library) + "!" + std::string(function);
}

} // namespace

HostForm::HostForm() {
    for (const layout::Control& c : layout::controls()) {
        ControlState state{c.kind, c.text, 0};
        // Pickers and tiles start black; labels in their layout colour.
        if (c.kind == layout::Kind::TransLabel) state.colour = c.textColour;
        controls_.emplace(c.name, std::move(state));
    }
    setActiveForm(this);
}

HostForm::~HostForm() {
    if (activeForm() == this) setActiveForm(nullptr);
}

HostForm::ControlState& HostForm::control(std::string_view name, layout::Kind kind) {
    return const_cast<ControlState&>(static_cast<const HostForm&>(*this).control(name, kind));
}

const HostForm::ControlState& HostForm::control(std::string_view name, layout::Kind kind) const {
    auto it = controls_.find(name);
    if (it == controls_.end()) throw PortMisuse("no control named \"" + std::string(name) + "\"");
    if (it->second.kind != kind)
        throw PortMisuse("\"" + std::string(name) + "\" is a " + kindName(it->second.kind) + ", not a " +
                         kindName(kind));
    return it->second;
}

std::string HostForm::text(std::string_view name) {
    journal.push_back("text " + std::string(name));
    return control(name, layout::Kind::EditBox).text;
}

void HostForm::setText(std::string_view name, std::string_view text) {
    journal.push_back("setText " + std::string(name));
    control(name, layout::Kind::EditBox).text = text;
}

Colour HostForm::colour(std::string_view name) {
    journal.push_back("colour " + std::string(name));
    return control(name, layout::Kind::ColorPicker).colour;
}

void HostForm::setBackColour(std::string_view name, Colour colour) {
    journal.push_back("setBackColour " + std::string(name));
    control(name, layout::Kind::ShapeBox).colour = colour;
}

void HostForm::setTextColour(std::string_view name, Colour colour) {
    journal.push_back("setTextColour " + std::string(name));
    control(name, layout::Kind::TransLabel).colour = colour;
}

void HostForm::showMessage(std::string_view text, std::string_view caption) {
    journal.push_back("showMessage " + std::string(caption) + ": " + std::string(text));
    messages.push_back({std::string(text), std::string(caption)});
    if (whileMessageShown) whileMessageShown(messages.back());
}

bool HostForm::putOnClipboard(std::string_view text) {
    journal.push_back(clipboardRefuses ? "putOnClipboard refused" : "putOnClipboard");
    if (clipboardRefuses) return false;
    clipboard = std::string(text);
    return true;
}

bool HostForm::fileExists(std::string_view path) {
    journal.push_back("fileExists " + std::string(path));
    return files.contains(path);
}

bool HostForm::writeFile(std::string_view path, std::span<const std::uint8_t> bytes) {
    auto existing = files.find(path);
    const bool fails = failingWrites.contains(path) || (existing != files.end() && existing->second.directory);
    journal.push_back("writeFile " + std::string(path) + " " + std::to_string(bytes.size()) + " bytes" +
                      (fails ? " failed" : ""));
    if (fails) return false; // what was there stays, as after a failed write of a temporary file
    files[std::string(path)] = {false, {bytes.begin(), bytes.end()}};
    return true;
}

LibraryCall HostForm::record(std::string_view library, std::string_view function,
                             std::initializer_list<Word> args) {
    LibraryCall call{std::string(library), std::string(function), args, {}, true};
    call.texts.resize(call.args.size());
    if (auto it = textArguments.find(function); it != textArguments.end())
        for (std::size_t i : it->second)
            if (i < call.args.size() && call.args[i] != 0)
                call.texts[i] = std::string(reinterpret_cast<const char*>(call.args[i]));
    call.resolved = resolvable(library, function);
    return call;
}

bool HostForm::resolvable(std::string_view library, std::string_view function) const {
    return !unresolvable_.contains({std::string(library), std::string(function)}) &&
           !unresolvable_.contains({std::string(library), std::string()});
}

Word HostForm::result(const LibraryCall& call) {
    if (auto it = handlers_.find(call.function); it != handlers_.end()) return it->second(call);
    if (auto it = results_.find(call.function); it != results_.end()) return it->second;
    return 0;
}

Word HostForm::callLibrary(std::string_view library, std::string_view function, std::initializer_list<Word> args) {
    LibraryCall call = record(library, function, args);
    journal.push_back("call " + callName(library, function) + (call.resolved ? "" : " unresolved"));
    calls.push_back(call);
    if (!call.resolved) throw UnresolvedCall(callName(library, function));
    return result(call);
}

std::optional<Word> HostForm::tryCallLibrary(std::string_view library, std::string_view function,
                                             std::initializer_list<Word> args) {
    LibraryCall call = record(library, function, args);
    journal.push_back("tryCall " + callName(library, function) + (call.resolved ? "" : " unresolved"));
    calls.push_back(call);
    if (!call.resolved) return std::nullopt;
    return result(call);
}

Word HostForm::mainWindowHandle() {
    journal.push_back("mainWindowHandle");
    return window;
}

void HostForm::trace(std::string_view line) {
    journal.push_back("trace " + std::string(line));
    traces.emplace_back(line);
}

void HostForm::setPickerColour(std::string_view picker, Colour colour) {
    control(picker, layout::Kind::ColorPicker).colour = colour;
}

void HostForm::setBoxText(std::string_view box, std::string_view text) {
    control(box, layout::Kind::EditBox).text = text;
}

std::string HostForm::boxText(std::string_view box) const { return control(box, layout::Kind::EditBox).text; }

Colour HostForm::backColourOf(std::string_view shape) const {
    return control(shape, layout::Kind::ShapeBox).colour;
}

Colour HostForm::textColourOf(std::string_view label) const {
    return control(label, layout::Kind::TransLabel).colour;
}

void HostForm::setResult(std::string_view function, Word result) { results_[std::string(function)] = result; }

void HostForm::setHandler(std::string_view function, std::function<Word(const LibraryCall&)> handler) {
    handlers_[std::string(function)] = std::move(handler);
}

void HostForm::makeUnresolvable(std::string_view library, std::string_view function) {
    unresolvable_.emplace(std::string(library), std::string(function));
}

std::vector<LibraryCall> HostForm::callsOf(std::string_view function) const {
    std::vector<LibraryCall> found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [&](const LibraryCall& c) { return c.function == function; });
    return found;
}

void HostForm::note(std::string line) { journal.push_back(std::move(line)); }

} // namespace host
