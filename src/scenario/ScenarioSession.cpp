#include "scenario/ScenarioSession.h"

#include "scenario/BadLine.h"
#include "scenario/Failure.h"
#include "scenario/ScriptLine.h"
#include "shell/platform/Compositor.h"
#include "shell/platform/Png.h"

namespace quibbix {

ScenarioSession::ScenarioSession(const std::string& settingsFile, std::string programDir, std::ostream& out,
                                 PngWriter writePng)
    : platform_(settingsFile, std::move(programDir)), out_(out), writePng_(std::move(writePng)) {
    if (!writePng_) {
        writePng_ = [](const std::string& file, const Image& image) { return WritePng(file, image); };
    }
}

void ScenarioSession::Start() {
    form_ = std::make_unique<FrmMain>(platform_.Services());
    form_->Load();
}

Control& ScenarioSession::VisibleControl(const std::string& name) {
    for (Control* control : Form().Controls()) {
        if (control->Name() == name) {
            if (!control->Visible()) {
                throw BadLine("control is not visible: " + Quoted(name));
            }
            return *control;
        }
    }
    throw BadLine("unknown control: " + Quoted(name));
}

PictureRef ScenarioSession::FindPicture(const std::string& name) {
    if (PictureRef found = Form().frmGraphics.Find(name)) {
        return found;
    }
    for (const Control* control : Form().Controls()) {
        if (control->Picture() != nullptr && control->Picture()->Name() == name) {
            return control->Picture();
        }
    }
    throw BadLine("unknown picture: " + Quoted(name));
}

Image ScenarioSession::Frame() {
    Image frame(Form().Bounds().Width(), Form().Bounds().Height());
    Compose(Form(), frame, frame.Bounds());
    return frame;
}

void ScenarioSession::WritePicture(const std::string& file, const Image& image) {
    if (!writePng_(file, image)) {
        throw Failure("cannot write " + Quoted(file));
    }
}

}  // namespace quibbix
