#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "shell/platform/Image.h"
#include "shell/platform/PictureRef.h"
#include "shell/platform/RectPx.h"

namespace quibbix {

class Form;

// Mouse buttons as the events report them.
inline constexpr std::int16_t kLeftButton = 1;
inline constexpr std::int16_t kRightButton = 2;
inline constexpr std::int16_t kMiddleButton = 4;

// Something on a form: visible or hidden, placed in twips, showing one picture.
class Control {
public:
    using MouseHandler = std::function<void(std::int16_t button, std::int16_t shift, float x, float y)>;

    explicit Control(std::string name) : name_(std::move(name)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int twips) { Place(twips, top_, width_, height_); }
    void SetTop(int twips) { Place(left_, twips, width_, height_); }
    void SetWidth(int twips) { Place(left_, top_, twips, height_); }
    void SetHeight(int twips) { Place(left_, top_, width_, twips); }
    void Place(int left, int top, int width, int height);

    const PictureRef& Picture() const { return picture_; }
    virtual void SetPicture(PictureRef picture);

    // Design-time traits: a one-pixel frame on every side, the pointing-hand cursor.
    bool Framed() const { return framed_; }
    void SetFramed(bool framed) { framed_ = framed; }
    bool Hand() const { return hand_; }
    void SetHand(bool hand) { hand_ = hand; }

    // Where the control stands in the window, frame included.
    RectPx Bounds() const { return bounds_; }
    // The area inside the frame.
    RectPx ClientBounds() const;

    // Paints the control into the window frame, touching only pixels inside clip.
    virtual void Paint(Image& frame, RectPx clip) const = 0;
    // Whether Paint covers every pixel of the control's bounds.
    virtual bool Opaque() const { return false; }
    // A window point in the control's own unit and origin.
    virtual float ScaleX(int windowX) const;
    virtual float ScaleY(int windowY) const;

    // Events; an empty handler ignores the event.
    std::function<void()> Click;
    MouseHandler MouseDown;
    MouseHandler MouseMove;
    MouseHandler MouseUp;
    std::function<void(std::int16_t key)> KeyPress;

protected:
    // Tells the form that what the control shows has changed.
    void Invalidate() const;
    // The same for a part of the client area only, in pixels from its top-left.
    void InvalidateClient(RectPx area) const;
    // Picture surfaces that hold a picture take its size, frame included.
    virtual bool AutoSize() const { return false; }
    virtual void Resized() {}

private:
    friend class Form;

    std::string name_;
    Form* form_ = nullptr;
    bool visible_ = false;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    // The layout rounded to window pixels, kept because every drawing call asks for it.
    RectPx bounds_;
    PictureRef picture_;
    bool framed_ = false;
    bool hand_ = false;
};

}  // namespace quibbix
