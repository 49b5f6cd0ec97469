#include "shell/sdl/X11Scaler.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrender.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <optional>

#include "shell/sdl/SdlWindowInfo.h"

namespace quibbix {

namespace {

// Whether the server refused to attach the shared memory. Xlib reports errors to a handler
// without a pointer of ours, so the answer has to wait here; it is only set while attaching.
bool attachRefused = false;

int NoteRefusal(Display*, XErrorEvent*) {
    attachRefused = true;
    return 0;
}

// Attaches the segment and tells whether the server could: a remote server answers with an error.
bool Attach(Display* display, XShmSegmentInfo& segment) {
    XSync(display, False);
    attachRefused = false;
    const auto previous = XSetErrorHandler(NoteRefusal);
    const bool sent = XShmAttach(display, &segment) != 0;
    XSync(display, False);
    XSetErrorHandler(previous);
    return sent && !attachRefused;
}

}  // namespace

struct X11Scaler::Objects {
    Display* display = nullptr;
    Window window = 0;
    XShmSegmentInfo segment{};
    bool attached = false;
    XImage* image = nullptr;
    Pixmap pixmap = 0;
    GC gc = nullptr;
    GC windowGc = nullptr;  // for copies straight into the window, at zoom 1
    Picture source = 0;
    Picture target = 0;
    int zoom = 0;  // the zoom the source's transform enlarges by; 0 before the first

    ~Objects() {
        if (target != 0) {
            XRenderFreePicture(display, target);
        }
        if (source != 0) {
            XRenderFreePicture(display, source);
        }
        if (gc != nullptr) {
            XFreeGC(display, gc);
        }
        if (windowGc != nullptr) {
            XFreeGC(display, windowGc);
        }
        if (pixmap != 0) {
            XFreePixmap(display, pixmap);
        }
        if (attached) {
            XShmDetach(display, &segment);
            XSync(display, False);
        }
        if (image != nullptr) {
            image->data = nullptr;  // the segment's, not Xlib's to free
            XDestroyImage(image);
        }
        if (segment.shmaddr != nullptr) {
            shmdt(segment.shmaddr);
        }
    }
};

X11Scaler::X11Scaler(std::unique_ptr<Objects> objects) : x_(std::move(objects)) {
    frame_ = Image::Borrowed(reinterpret_cast<Argb*>(x_->image->data), x_->image->width, x_->image->height,
                             Image::Stores::PastCache);
}

X11Scaler::~X11Scaler() = default;

std::unique_ptr<X11Scaler> X11Scaler::Make(SDL_Window* window, SizePx frame) {
    const std::optional<SDL_SysWMinfo> info = WindowInfo(window);
    if (!info || info->subsystem != SDL_SYSWM_X11) {
        return nullptr;
    }
    auto x = std::make_unique<Objects>();
    x->display = info->info.x11.display;
    x->window = info->info.x11.window;
    Display* display = x->display;
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    // Transforms and filters came with RENDER 0.6.
    if (XShmQueryExtension(display) == 0 || XRenderQueryExtension(display, &event, &error) == 0 ||
        XRenderQueryVersion(display, &major, &minor) == 0 || (major == 0 && minor < 6)) {
        return nullptr;
    }
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, x->window, &attributes) == 0) {
        return nullptr;
    }
    XRenderPictFormat* windowFormat = XRenderFindVisualFormat(display, attributes.visual);
    XRenderPictFormat* frameFormat = XRenderFindStandardFormat(display, PictStandardRGB24);
    if (windowFormat == nullptr || frameFormat == nullptr) {
        return nullptr;
    }

    // The frame's pixels as the game keeps them: 32 bits each, 0xXXRRGGBB, rows packed.
    x->image = XShmCreateImage(display, attributes.visual, 24, ZPixmap, nullptr, &x->segment,
                               static_cast<unsigned>(frame.width), static_cast<unsigned>(frame.height));
    if (x->image == nullptr || x->image->bits_per_pixel != 32 ||
        x->image->bytes_per_line != frame.width * static_cast<int>(sizeof(Argb)) ||
        x->image->byte_order != LSBFirst || x->image->red_mask != 0xFF0000 || x->image->blue_mask != 0xFF) {
        return nullptr;
    }
    x->segment.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(x->image->bytes_per_line) * frame.height,
                              IPC_CREAT | 0600);
    if (x->segment.shmid < 0) {
        return nullptr;
    }
    void* memory = shmat(x->segment.shmid, nullptr, 0);
    // Marked for removal at once: it goes when both sides let go, even if the game is killed.
    shmctl(x->segment.shmid, IPC_RMID, nullptr);
    if (memory == reinterpret_cast<void*>(-1)) {
        return nullptr;
    }
    x->segment.shmaddr = static_cast<char*>(memory);
    x->image->data = x->segment.shmaddr;
    x->segment.readOnly = True;
    x->attached = Attach(display, x->segment);
    if (!x->attached) {
        return nullptr;
    }

    x->pixmap = XCreatePixmap(display, x->window, static_cast<unsigned>(frame.width),
                              static_cast<unsigned>(frame.height), 24);
    x->gc = XCreateGC(display, x->pixmap, 0, nullptr);
    if (attributes.depth == 24) {
        x->windowGc = XCreateGC(display, x->window, 0, nullptr);
    }
    x->source = XRenderCreatePicture(display, x->pixmap, frameFormat, 0, nullptr);
    x->target = XRenderCreatePicture(display, x->window, windowFormat, 0, nullptr);
    XRenderSetPictureFilter(display, x->source, const_cast<char*>(FilterNearest), nullptr, 0);
    return std::unique_ptr<X11Scaler>(new X11Scaler(std::move(x)));
}

void X11Scaler::Clear(RectPx screen) {
    if (screen.Empty()) {
        return;
    }
    const XRenderColor black{0, 0, 0, 0xFFFF};
    XRenderFillRectangle(x_->display, PictOpSrc, x_->target, &black, screen.left, screen.top,
                         static_cast<unsigned>(screen.Width()), static_cast<unsigned>(screen.Height()));
}

void X11Scaler::Show(RectPx frameArea, const Viewport& view) {
    frameArea = Intersect(frameArea, frame_.Bounds());
    if (frameArea.Empty()) {
        return;
    }
    if (view.zoom == 1 && x_->windowGc != nullptr) {
        const RectPx out = view.ToScreen(frameArea);
        XShmPutImage(x_->display, x_->window, x_->windowGc, x_->image, frameArea.left, frameArea.top,
                     out.left, out.top, static_cast<unsigned>(frameArea.Width()),
                     static_cast<unsigned>(frameArea.Height()), False);
        return;
    }
    if (view.zoom != x_->zoom) {
        // A window pixel's centre times 1/zoom, in 16.16 fixed point, lands inside the frame pixel
        // it shows for every zoom and size a screen can hold. (A plain scaling is one the server
        // has a fast path for.)
        const XFixed one = XDoubleToFixed(1);
        const XFixed shrink = XDoubleToFixed(1.0 / view.zoom);
        XTransform transform{{{shrink, 0, 0}, {0, shrink, 0}, {0, 0, one}}};
        XRenderSetPictureTransform(x_->display, x_->source, &transform);
        x_->zoom = view.zoom;
    }
    XShmPutImage(x_->display, x_->pixmap, x_->gc, x_->image, frameArea.left, frameArea.top, frameArea.left,
                 frameArea.top, static_cast<unsigned>(frameArea.Width()),
                 static_cast<unsigned>(frameArea.Height()), False);
    const RectPx out = view.ToScreen(frameArea);
    XRenderComposite(x_->display, PictOpSrc, x_->source, None, x_->target, out.left - view.left,
                     out.top - view.top, 0, 0, out.left, out.top, static_cast<unsigned>(out.Width()),
                     static_cast<unsigned>(out.Height()));
}

void X11Scaler::Finish() {
    XSync(x_->display, False);
}

}  // namespace quibbix
