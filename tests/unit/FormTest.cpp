#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "shell/headless/HeadlessPlatform.h"
#include "shell/platform/Compositor.h"
#include "shell/platform/Form.h"
#include "shell/platform/ImageControl.h"
#include "shell/platform/PictureBox.h"

namespace quibbix {
namespace {

PictureRef Solid(const std::string& name, int width, int height, Argb colour) {
    return std::make_shared<const Picture>(name, Image(width, height, colour));
}

// Two overlapping picture boxes, "lower" under "upper", and a record of the events each received.
class FormTest : public ::testing::Test {
protected:
    FormTest() {
        Place(lower, 10, 10, 20, 20);
        Place(upper, 20, 20, 20, 20);
        form.Add(lower);
        form.Add(upper);
        const auto at = [](float x, float y) {
            return std::to_string(int(x)) + "," + std::to_string(int(y));
        };
        for (PictureBox* box : {&lower, &upper}) {
            box->Click = [this, box] { events.push_back(box->Name() + " click"); };
            box->MouseDown = [=, this](std::int16_t button, std::int16_t, float x, float y) {
                events.push_back(box->Name() + " down " + std::to_string(button) + " " + at(x, y));
            };
            box->MouseMove = [=, this](std::int16_t, std::int16_t, float x, float y) {
                events.push_back(box->Name() + " move " + at(x, y));
            };
        }
        form.MouseDown = [this](std::int16_t, std::int16_t, float, float) { events.push_back("form down"); };
        form.MouseMove = [this](std::int16_t, std::int16_t, float, float) { events.push_back("form move"); };
    }

    static void Place(Control& control, int left, int top, int width, int height) {
        control.Place(PixelsToTwips(left), PixelsToTwips(top), PixelsToTwips(width), PixelsToTwips(height));
        control.SetVisible(true);
    }

    HeadlessWindow window;
    Form form{"frmTest", window, 100, 100};
    PictureBox lower{"lower", ScaleMode::Pixels};
    PictureBox upper{"upper", ScaleMode::Twips};
    std::vector<std::string> events;
};

// Events go to the topmost visible control, else the background; a press captures the mouse until
// the release, and only a left press and release on the same visible control click. The hand shows
// over a hand control; a hidden control loses the keyboard.
TEST_F(FormTest, PointerAndKeysGoToTheControlUnderThePointerOrTheOneHoldingIt) {
    std::vector<int> keys;
    upper.KeyPress = [&](std::int16_t key) { keys.push_back(key); };
    form.KeyPressed(65);
    form.SetFocus(upper);
    form.KeyPressed(66);
    upper.SetHand(true);
    form.PointerMoved(25, 25, 0);
    EXPECT_EQ(form.Cursor(), CursorShape::Hand);
    form.PointerMoved(15, 15, 0);
    EXPECT_EQ(form.Cursor(), CursorShape::Arrow);
    form.SetMousePointer(kHourglassPointer);
    EXPECT_EQ(form.Cursor(), CursorShape::Busy);
    events.clear();
    form.ButtonPressed(25, 25, kLeftButton);
    form.ButtonReleased(25, 25, kLeftButton);
    form.ButtonPressed(15, 15, kRightButton);
    form.ButtonReleased(15, 15, kRightButton);
    form.ButtonPressed(15, 15, kLeftButton);
    form.PointerMoved(90, 90, kLeftButton);  // far outside, still reported to the captor
    form.ButtonReleased(90, 90, kLeftButton);
    form.PointerMoved(90, 90, 0);
    upper.SetVisible(false);
    form.KeyPressed(67);
    EXPECT_EQ(keys, (std::vector<int>{66}));
    EXPECT_EQ(form.ActiveControl(), nullptr);
    form.PointerMoved(25, 25, 0);
    form.ButtonPressed(15, 15, kLeftButton);
    lower.SetVisible(false);  // hidden between press and release
    form.ButtonReleased(15, 15, kLeftButton);
    form.ButtonPressed(50, 50, kRightButton);

    // The board-like box reports pixels, the other twips, each from its own top-left.
    EXPECT_EQ(events, (std::vector<std::string>{"upper down 1 75,75", "upper click", "lower down 2 5,5",
                                                "lower down 1 5,5", "lower move 80,80", "form move",
                                                "lower move 15,15", "lower down 1 5,5", "form down"}));
}

TEST_F(FormTest, DrawingPersistsAndCompositingPaintsControlsBottomToTopWithFramesInTheAreaAsked) {
    // Drawing persists until Cls, and a twips surface places pictures in twips.
    lower.SetBackColor(0);
    lower.PaintPicture(Solid("dot", 2, 2, Rgb(9, 9, 9)), 3, 4);
    EXPECT_EQ(lower.GetPixel(3, 4), 0x090909u);
    lower.Cls();
    EXPECT_EQ(lower.GetPixel(3, 4), 0u);
    upper.PaintPicture(Solid("dot", 1, 1, Rgb(9, 9, 9)), 30, 45);
    EXPECT_EQ(upper.GetPixel(2, 3), 0x090909u);

    form.SetPicture(Solid("background", 100, 100, Rgb(0, 0, 50)));
    lower.SetPicture(Solid("red", 20, 20, Rgb(200, 0, 0)));
    upper.SetPicture(Solid("green", 18, 18, Rgb(0, 200, 0)));
    upper.SetFramed(true);
    Image frame(100, 100);
    Compose(form, frame, frame.Bounds());

    // The upper box's frame lies over the lower box.
    EXPECT_EQ(std::tuple(frame.At(5, 5), frame.At(15, 15), frame.At(21, 21), frame.At(39, 39)),
              std::tuple(Rgb(0, 0, 50), Rgb(200, 0, 0), Rgb(0, 200, 0), frame.At(20, 20)));
    EXPECT_NE(frame.At(20, 20), Rgb(200, 0, 0));
    EXPECT_NE(frame.At(20, 20), Rgb(0, 200, 0));

    upper.SetVisible(false);  // hidden controls are not painted
    Compose(form, frame, frame.Bounds());
    EXPECT_EQ(std::pair(frame.At(25, 25), frame.At(35, 35)), std::pair(Rgb(200, 0, 0), Rgb(0, 0, 50)));

    // A picture surface covering the area hides everything below it, and nothing outside the area
    // is touched; an image leaves its uncovered pixels to what lies below.
    Image part(100, 100, Rgb(1, 2, 3));
    Compose(form, part, RectPx{12, 12, 18, 18});
    EXPECT_EQ(std::pair(part.At(15, 15), part.At(5, 5)), std::pair(Rgb(200, 0, 0), Rgb(1, 2, 3)));
    ImageControl cell("cell");
    Place(cell, 60, 60, 10, 10);
    form.Add(cell);
    cell.SetPicture(Solid("dot", 2, 2, Rgb(9, 9, 9)));
    Compose(form, part, RectPx{60, 60, 70, 70});
    EXPECT_EQ(std::pair(part.At(60, 60), part.At(65, 65)), std::pair(Rgb(9, 9, 9), Rgb(0, 0, 50)));
}

TEST_F(FormTest, OnlyWhatChangedIsRepainted) {
    (void)form.TakeDirty();
    EXPECT_TRUE(form.TakeDirty().empty());
    const PictureRef red = Solid("red", 20, 20, Rgb(200, 0, 0));
    lower.SetPicture(red);
    EXPECT_EQ(form.TakeDirty(), std::vector<RectPx>{(RectPx{10, 10, 30, 30})});
    lower.SetPicture(red);
    EXPECT_TRUE(form.TakeDirty().empty()) << "the same picture again changes nothing";
    // Apart, two changes stay two rectangles; overlapping, they become one.
    lower.SetLeft(PixelsToTwips(50));
    EXPECT_EQ(form.TakeDirty(), (std::vector<RectPx>{{10, 10, 30, 30}, {50, 10, 70, 30}}));
    lower.SetLeft(PixelsToTwips(60));
    EXPECT_EQ(form.TakeDirty(), std::vector<RectPx>{(RectPx{50, 10, 80, 30})});
}

}  // namespace
}  // namespace quibbix
