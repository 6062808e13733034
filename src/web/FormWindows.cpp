#include "web/FormWindows.h"

#include "session/ProgramSession.h"
#include "store/ConfigFiles.h"

namespace corvane::web {

using emscripten::val;

namespace {

template <typename Range>
val ArrayOf(const Range& items) {
    val array = val::array();
    for (const auto& item : items) {
        if constexpr (std::is_convertible_v<decltype(item), std::string_view>) {
            array.call<void>("push", std::string(item));
        } else {
            array.call<void>("push", item);
        }
    }
    return array;
}

std::string Text(const val& values, const char* name) {
    const val text = values[name];
    return text.isString() ? text.as<std::string>() : std::string();
}

int Number(const val& values, const char* name) {
    const val number = values[name];
    return number.isNumber() ? number.as<int>() : -1;
}

bool Flag(const val& values, const char* name) { return values[name].as<bool>(); }

val SetupValues(const SetupFormValues& form) {
    val values = val::object();
    values.set("lists", ArrayOf(form.lists));
    values.set("boxes", ArrayOf(form.boxes));
    values.set("powerControlEnabled", form.powerControlEnabled);
    values.set("bandOption", form.bandOption);
    values.set("bandEnabled", form.bandEnabled);
    values.set("dtmfId", form.dtmfId);
    values.set("nameId", form.nameId);
    values.set("priChannel", form.priChannel);
    values.set("priChannelEnabled", form.priChannelEnabled);
    return values;
}

// What the user can change; the enabled states stay the core's.
void ReadSetupValues(const val& values, SetupFormValues& form) {
    const std::vector<int> lists = emscripten::vecFromJSArray<int>(values["lists"]);
    const std::vector<bool> boxes = emscripten::vecFromJSArray<bool>(values["boxes"]);
    for (std::size_t i = 0; i < form.lists.size() && i < lists.size(); ++i) form.lists[i] = lists[i];
    for (std::size_t i = 0; i < form.boxes.size() && i < boxes.size(); ++i) form.boxes[i] = boxes[i];
    form.bandOption = Number(values, "bandOption");
    form.dtmfId = Text(values, "dtmfId");
    form.nameId = Text(values, "nameId");
    form.priChannel = Text(values, "priChannel");
}

constexpr const char* kGroupTexts[] = {"freqStart", "freqLast", "frequency", "step", "toneStart", "toneLast",
                                       "toneCode", "toneStep"};
std::string GroupFormValues::*const kGroupTextFields[] = {
    &GroupFormValues::freqStart, &GroupFormValues::freqLast, &GroupFormValues::frequency, &GroupFormValues::step,
    &GroupFormValues::toneStart, &GroupFormValues::toneLast, &GroupFormValues::toneCode, &GroupFormValues::toneStep};
constexpr const char* kGroupOptions[] = {"target", "freqDirection", "band", "toneKind", "toneDirection"};
int GroupFormValues::*const kGroupOptionFields[] = {&GroupFormValues::target, &GroupFormValues::freqDirection,
                                                    &GroupFormValues::band, &GroupFormValues::toneKind,
                                                    &GroupFormValues::toneDirection};

val GroupValues(const GroupFormValues& form) {
    val values = val::object();
    for (std::size_t i = 0; i < std::size(kGroupTexts); ++i) values.set(kGroupTexts[i], form.*kGroupTextFields[i]);
    for (std::size_t i = 0; i < std::size(kGroupOptions); ++i) values.set(kGroupOptions[i], form.*kGroupOptionFields[i]);
    values.set("scan", form.scan);
    values.set("groups", ArrayOf(form.groups));
    values.set("targetsEnabled", form.targetsEnabled);
    values.set("groupSetEnabled", form.groupSetEnabled);
    return values;
}

void ReadGroupValues(const val& values, GroupFormValues& form) {
    for (std::size_t i = 0; i < std::size(kGroupTexts); ++i) form.*kGroupTextFields[i] = Text(values, kGroupTexts[i]);
    for (std::size_t i = 0; i < std::size(kGroupOptions); ++i)
        form.*kGroupOptionFields[i] = Number(values, kGroupOptions[i]);
    form.scan = Flag(values, "scan");
    const std::vector<std::string> groups = emscripten::vecFromJSArray<std::string>(values["groups"]);
    for (std::size_t i = 0; i < form.groups.size() && i < groups.size(); ++i) form.groups[i] = groups[i];
}

}  // namespace

// ---- setup window ----

val SettingsWindow::Layout() {
    val layout = val::object();
    layout.set("caption", std::string(kSetupCaption));
    val lists = val::array();
    for (const SetupList& list : SetupLists()) {
        val entry = val::object();
        entry.set("label", std::string(list.label));
        entry.set("items", ArrayOf(list.items()));
        lists.call<void>("push", entry);
    }
    layout.set("lists", lists);
    val boxes = val::array();
    for (int i = 0; i < kFunctionBoxCount; ++i) boxes.call<void>("push", std::string(FunctionBoxCaption(i)));
    layout.set("boxCaptions", boxes);
    val bands = val::array();
    for (int i = 0; i < kBandOptionCount; ++i) bands.call<void>("push", std::string(BandOptionCaption(i)));
    layout.set("bandCaptions", bands);
    layout.set("dtmfIdLength", kDtmfIdLength);
    layout.set("nameIdLength", kNameIdLength);
    layout.set("priChannelLength", kPriChannelLength);
    layout.set("keyDefineError", std::string(kKeyDefineErrorText));
    return layout;
}

bool SettingsWindow::TextAccepted(int box, const std::string& text) {
    return SetupTextAccepted(static_cast<SetupTextBox>(box), text);
}

std::string SettingsWindow::SaveConfig() { return SaveConfigFile(program_.Ws()).message(); }

val SettingsWindow::Result(const std::string& problem) const {
    val result = val::object();
    result.set("values", SetupValues(form_));
    result.set("problem", problem);
    return result;
}

val SettingsWindow::Open() {
    form_ = SetupFormValues{};
    closed_ = false;
    const bool forced = OpenSetupForm(program_.Ws(), form_);
    return Result(forced ? SaveConfig() : std::string());
}

val SettingsWindow::PressOk(const val& values) {
    const EditSession::Step step(*program_.Editing(), steps::kSetUp);
    ReadSetupValues(values, form_);
    const bool stored = PressSetupOk(program_.Ws(), form_) == SetupOkOutcome::Stored;
    val result = Result(stored ? SaveConfig() : std::string());
    result.set("stored", stored);
    // A passed OK closes the window: its band plan belongs to the same step, as on the desktop.
    if (stored) CloseOnce();
    return result;
}

val SettingsWindow::PressReset(const val& values) {
    const EditSession::Step step(*program_.Editing(), steps::kSetUp);
    ReadSetupValues(values, form_);
    PressSetupReset(program_.Ws(), form_);
    return Result(SaveConfig());
}

void SettingsWindow::Close() {
    const EditSession::Step step(*program_.Editing(), steps::kSetUp);
    CloseOnce();
}

void SettingsWindow::CloseOnce() {
    if (closed_) return;
    closed_ = true;
    ApplyBandSelect(program_.Ws());
}

// ---- group window ----

GroupWindow::GroupWindow(ProgramSession& program) : program_(program), form_(program.Ws(), *this) {}

val GroupWindow::Layout() {
    val layout = val::object();
    layout.set("caption", std::string(kGroupCaption));
    layout.set("frequencySteps", ArrayOf(kFrequencySteps));
    layout.set("toneSteps", ArrayOf(kToneSteps));
    layout.set("targetCaptions", ArrayOf(kTargetCaptions));
    layout.set("narrowCaption", std::string(kNarrowCaption));
    layout.set("channelBoxLength", kChannelBoxLength);
    layout.set("toneCodeBoxLength", kToneCodeBoxLength);
    layout.set("groupBoxLength", kGroupBoxLength);
    val letters = val::array();
    for (int i = 0; i < kGroupCount; ++i) letters.call<void>("push", std::string(1, GroupLetter(i)));
    layout.set("groupLetters", letters);
    return layout;
}

void GroupWindow::SaveGroupFile() {
    const Status saved = corvane::SaveGroupFile(program_.Ws());
    if (!saved.ok()) messages_.push_back(saved.message());
}

void GroupWindow::Message(std::string_view text, const GroupFormValues&) { messages_.emplace_back(text); }

void GroupWindow::RefreshLinkStatus() { program_.ShowLinkStatus(); }

val GroupWindow::Result() {
    val result = val::object();
    result.set("values", GroupValues(form_.Values()));
    result.set("messages", ArrayOf(messages_));
    result.set("beep", beep_);
    result.set("focusToneCode", focusToneCode_);
    messages_.clear();
    beep_ = false;
    focusToneCode_ = false;
    shown_ = program_.Ws().groups;
    return result;
}

val GroupWindow::Open() {
    // A damaged Group.txt is said as at the start: what was wrong, where the copy is.
    const corvane::Result<std::string> loaded = LoadGroupFileAndTell(program_.Ws());
    const std::string said = loaded ? loaded.value() : loaded.message();
    if (!said.empty()) messages_.push_back(said);
    form_.Values() = GroupFormValues{};
    form_.Open();
    return Result();
}

val GroupWindow::Run(const std::string& action, const val& values) {
    const bool changesChannels = action == "Command2" || action == "Command5";
    // The link may be writing or reading the channel table.
    if (changesChannels && program_.PortInUse()) return Result();
    ReadGroupValues(values, form_.Values());
    // Generation and Reset are undo steps, as on the desktop.
    if (action == "Command2") {
        const EditSession::Step step(*program_.Editing(), steps::kAutoGeneration);
        form_.PressAuto();
    } else if (action == "Command5") {
        const EditSession::Step step(*program_.Editing(), steps::kGroupReset);
        form_.PressReset();
    }
    else if (action == "Option1") form_.CtcssChosen();
    else if (action == "Text6") form_.FrequencyKey();
    else if (action == "Text2") form_.ToneCodeChanged();
    else if (action == "Text1") form_.ChannelBoxChanged(&GroupFormValues::freqStart);
    else if (action == "Text5") form_.ChannelBoxChanged(&GroupFormValues::freqLast);
    else if (action == "Text3") form_.ChannelBoxChanged(&GroupFormValues::toneStart);
    else if (action == "Text4") form_.ChannelBoxChanged(&GroupFormValues::toneLast);
    return Result();
}

val GroupWindow::FollowWorkspace() {
    if (program_.Ws().groups == shown_) return val::null();
    form_.Values() = GroupFormValues{};
    form_.Open();
    return Result();
}

}  // namespace corvane::web
