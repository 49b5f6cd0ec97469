#include "scenario/Dump.h"

#include "scenario/FieldTable.h"

namespace quibbix {

namespace {

const char* CursorName(CursorShape shape) {
    switch (shape) {
        case CursorShape::Hand:
            return "hand";
        case CursorShape::Busy:
            return "busy";
        case CursorShape::Arrow:
            break;
    }
    return "arrow";
}

Json Fields(const FrmMain& form) {
    Json::Object fields;
    for (const Field& field : MainFormFields()) {
        fields.emplace_back(field.name, field.get(form));
    }
    return fields;
}

Json Controls(const FrmMain& form) {
    Json::Object controls;
    for (const Control* control : form.Controls()) {
        const RectPx bounds = control->Bounds();
        controls.emplace_back(
            control->Name(), Json::Object{{"visible", control->Visible()},
                                          {"left", bounds.left},
                                          {"top", bounds.top},
                                          {"width", bounds.Width()},
                                          {"height", bounds.Height()},
                                          {"picture", control->Picture() ? control->Picture()->Name() : ""}});
    }
    return controls;
}

Json WindowState(const FrmMain& form, const HeadlessWindow& window) {
    return Json::Object{{"WindowState", form.WindowState()}, {"BorderStyle", form.BorderStyle()},
                        {"Caption", form.Caption()},         {"MousePointer", form.MousePointer()},
                        {"left", window.ScreenLeft()},       {"top", window.ScreenTop()},
                        {"width", form.Bounds().Width()},    {"height", form.Bounds().Height()},
                        {"drags", form.DragsStarted()}};
}

}  // namespace

Json DumpState(const FrmMain& form, HeadlessPlatform& platform) {
    Json::Array sounds;
    for (const std::string& path : platform.Sounds().Requests()) {
        sounds.emplace_back(path);
    }
    Json::Object store;
    for (const auto& [key, value] : platform.Settings().Values(platform.Services().app.Title, "Settings")) {
        store.emplace_back(key, value);
    }
    const Control* focus = form.ActiveControl();
    return Json::Object{
        {"fields", Fields(form)},
        {"timer", Json::Object{{"Enabled", form.Timer1.Enabled()}, {"Interval", form.Timer1.Interval()}}},
        {"window", WindowState(form, platform.Window())},
        {"controls", Controls(form)},
        {"focus", focus != nullptr ? Json(focus->Name()) : Json(nullptr)},
        {"cursor", CursorName(form.Cursor())},
        {"sounds", std::move(sounds)},
        {"store", std::move(store)},
        {"ended", platform.Window().Ended()},
        {"clock_ms", platform.Clock().NowMs()},
    };
}

}  // namespace quibbix
