// The window elements: plain C++ objects that hold the state of what a window shows. Procedures change
// element state; a backend draws the elements (in z-order, from this state alone) and delivers pointer,
// key, scroll and timer events to the handlers stored here.
//
// Units: an element's Left, Top, Width and Height are pixels inside its container, as real numbers.
// Pointer positions handed to handlers are in twips for labels and images and in pixels for picture boxes.
#pragma once

#include "platform/Picture.h"
#include "platform/Text.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Pointer shapes, by their toolkit numbers.
enum class MousePointer : std::int16_t { Default = 0, SizeNS = 7, SizeWE = 9, Hourglass = 11 };

enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftState : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

// Key codes of the keys the windows act on, by the system's numbers (a letter key is its capital's code).
enum KeyCode : int {
    kKeyTab = 9,
    kKeyEnter = 13,
    kKeyEscape = 27,
    kKeySpace = 32,
    kKeyPageUp = 33,
    kKeyPageDown = 34,
    kKeyEnd = 35,
    kKeyHome = 36,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
};

// One wheel notch, in the units a wheel event reports.
inline constexpr int kWheelNotch = 120;

struct Font {
    Text face = u"Arial";
    double size = 8.25; // points
    bool bold = false;
    bool operator==(const Font&) const = default;
};

struct TextSize {
    double width = 0; // pixels
    double height = 0;
};

// Measures text as the screen would draw it.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual TextSize MeasureText(const Font& font, TextView text) const = 0;
};

// What moved the pointer: the mouse, or a finger or pen whose touches the system turned into mouse input.
enum class PointerSource : std::int8_t { Mouse, Touch, Pen };

// A pointer event as a handler sees it: the control-array index of the element, the buttons held (a mask
// of MouseButton), the shift state (a mask of ShiftState) and the position in the element's own units.
// A finger or pen also needs where the pointer is in the window (client pixels, which stay put while the
// element moves) and when (milliseconds, on a clock of the backend's).
struct PointerEvent {
    int index = 0;
    int button = 0;
    int shift = 0;
    double x = 0;
    double y = 0;
    PointerSource source = PointerSource::Mouse;
    double windowX = 0;
    double windowY = 0;
    long long time = 0;
};

struct PointerHandlers {
    std::function<void(const PointerEvent&)> down, move, up, doubleClick;
};

class Container;

class Element {
public:
    enum class Kind { Label, Image, PictureBox, ScrollBar, CheckBox, Button, Shape };

    Element(Kind kind, std::string name) : kind_(kind), name_(std::move(name)) {}
    virtual ~Element() = default;
    Element(const Element&) = default;
    Element& operator=(const Element&) = delete;

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }
    Container* container() const { return container_; }

    // Labels and images report pointer positions in twips, picture boxes in their pixel scale.
    bool ReportsTwips() const { return kind_ == Kind::Label || kind_ == Kind::Image; }

    double left = 0, top = 0, width = 0, height = 0; // pixels inside the container
    bool visible = true;
    Text tag;
    Text toolTipText;
    MousePointer mousePointer = MousePointer::Default;
    PointerHandlers handlers;
    // The keyboard focus ring: drawn around the union of the shown elements that carry it, while the
    // window shows its keyboard cues.
    bool focusRing = false;

protected:
    friend class Container;
    template <class T>
    friend class ControlArray;
    virtual std::unique_ptr<Element> Clone() const = 0;

private:
    Kind kind_;
    std::string name_;
    int index_ = 0;
    Container* container_ = nullptr;
};

// Something that holds elements: the window itself or a picture box. Children are kept back to front.
class Container {
public:
    Container() = default;
    // A copy starts empty: children belong to one container only.
    Container(const Container&) {}
    Container& operator=(const Container&) = delete;
    virtual ~Container() = default;
    const std::vector<Element*>& children() const { return children_; }
    void Add(Element& child);
    void Remove(Element& child);
    // Brings a child to the front of its siblings.
    void ZOrderFront(Element& child);
    // 0 is the back; -1 when the element is not a child.
    int ZIndexOf(const Element& child) const;

private:
    std::vector<Element*> children_;
};

class Label final : public Element {
public:
    // A self-sizing label takes the size of its caption whenever the caption or the font changes.
    Label(std::string name, const TextMeasurer& measurer, bool autoSize);

    const Text& caption() const { return caption_; }
    void SetCaption(Text caption);
    const Font& font() const { return font_; }
    void SetFont(Font font);
    void SetFontSize(double points);
    bool autoSize() const { return autoSize_; }

    Rgb foreColor = kBlack;
    std::optional<Rgb> backColor; // nothing: transparent

protected:
    std::unique_ptr<Element> Clone() const override { return std::make_unique<Label>(*this); }

private:
    void Fit();

    const TextMeasurer* measurer_;
    bool autoSize_;
    Text caption_;
    Font font_;
};

class Image final : public Element {
public:
    explicit Image(std::string name) : Element(Kind::Image, std::move(name)) {}
    Picture picture; // shown stretched to the element's size; nothing shows nothing

protected:
    std::unique_ptr<Element> Clone() const override { return std::make_unique<Image>(*this); }
};

// A picture box: a container with a background, and a drawing surface whose persistent image can be
// handed to other elements as a picture.
class PictureBox final : public Element, public Container {
public:
    PictureBox(std::string name, const TextMeasurer& measurer)
        : Element(Kind::PictureBox, std::move(name)), measurer_(&measurer) {}

    Rgb backColor = kWhite;
    Font font; // for measuring text

    // Clears the drawing surface to the background colour, at the box's current size in whole pixels.
    void Cls();
    Bitmap& surface() { return surface_; }
    const Bitmap& surface() const { return surface_; }
    // The persistent image: a picture of what has been drawn.
    Picture image() const { return std::make_shared<const Bitmap>(surface_); }
    double TextWidth(TextView text) const { return measurer_->MeasureText(font, text).width; }

protected:
    std::unique_ptr<Element> Clone() const override { return std::make_unique<PictureBox>(*this); }

private:
    const TextMeasurer* measurer_;
    Bitmap surface_;
};

// A vertical scroll bar. Setting the value to a different one raises the change event at once; a drag of
// the thumb raises the scroll event (delivered by the backend through Scroll()).
class ScrollBar final : public Element {
public:
    explicit ScrollBar(std::string name) : Element(Kind::ScrollBar, std::move(name)) {}

    std::int16_t value() const { return value_; }
    std::int16_t min() const { return min_; }
    std::int16_t max() const { return max_; }
    // False (nothing changes) when the value lies outside the range between min and max.
    bool SetValue(std::int16_t value);
    // A new range pulls the value inside it, raising the change event when that moves it.
    void SetMin(std::int16_t min);
    void SetMax(std::int16_t max);
    // The user moved the thumb: the value changes without the change event, then the scroll event runs.
    void Scroll(std::int16_t value);

    std::int16_t smallChange = 1;
    std::int16_t largeChange = 1;
    std::function<void()> onChange, onScroll;

protected:
    std::unique_ptr<Element> Clone() const override { return std::make_unique<ScrollBar>(*this); }

private:
    std::int16_t Clamped(std::int16_t value) const;
    std::int16_t value_ = 0, min_ = 0, max_ = 32767;
};

// The wheel turned by `delta` over a scroll bar that moves `step` a notch. Deltas of less than a notch
// (fine-grained wheels and touch pads) add up in `rest` until they make one; a notch away from the user
// scrolls towards the minimum, no further than the bar's range. A hidden bar does not move.
void TurnWheel(ScrollBar& bar, int& rest, int delta, int step);

class CheckBox final : public Element {
public:
    explicit CheckBox(std::string name) : Element(Kind::CheckBox, std::move(name)) {}
    Text caption;
    Font font;
    Rgb backColor = kWhite;
    int value = 0; // 0 unticked, 1 ticked
    std::function<void(int index)> onClick;

protected:
    std::unique_ptr<Element> Clone() const override { return std::make_unique<CheckBox>(*this); }
};

class Button final : public Element {
public:
    explicit Button(std::string name) : Element(Kind::Button, std::move(name)) {}
    Text caption;
    Font font;
    std::function<void()> onClick;

protected:
    std::unique_ptr<Element> Clone() const override { return std::make_unique<Button>(*this); }
};

// A filled rectangle.
class Shape final : public Element {
public:
    explicit Shape(std::string name) : Element(Kind::Shape, std::move(name)) {}
    Rgb fillColor = kWhite;

protected:
    std::unique_ptr<Element> Clone() const override { return std::make_unique<Shape>(*this); }
};

// What a screen reader is told of one part of a window that the window draws itself.
struct AccessibleItem {
    enum class Role { PushButton, StaticText, CheckBox, List, ScrollBar };
    Role role = Role::PushButton;
    // The child id a reader knows it by, 1 or more and unique in the list, stable for what the part shows
    // (a program's tile keeps its id wherever it stands), so an id a reader kept names the same thing or
    // nothing. 0: its place in the list, counted from 1.
    long id = 0;
    Text name;
    Text description;
    Text help;  // how to use it, such as its keys
    Text value; // a scroll bar's position
    bool focusable = false;
    bool focused = false;
    bool unavailable = false;
    bool checked = false;
    bool offscreen = false; // scrolled out of its list's view
    // Where it lies: the union of these elements' boxes (nothing for the second when one element does).
    const Element* element = nullptr;
    const Element* element2 = nullptr;
    Text defaultAction; // empty: it has none
    std::function<void()> doDefaultAction;
};

// A timer: while enabled, the backend calls onTick every `interval` milliseconds.
struct Timer {
    int interval = 0;
    bool enabled = false;
    std::function<void()> onTick;
};

// What the window's system menu (Alt+Space, the task bar's menu) asks of a window that draws its own
// caption buttons.
enum class SystemCommand : std::int8_t { Restore, Maximise, Minimise };

// A top-level window made of elements: the launcher's main window or a dialog. The backend draws its
// children in z-order on its background, shows its pointer over everything while the pointer is not the
// default one, hands every key to onKeyDown before any element sees it, and runs its enabled timers.
class Window : public Container {
public:
    Window(Text caption, Rgb backColor) : caption(std::move(caption)), backColor(backColor) {}

    Text caption;
    Rgb backColor;
    MousePointer mousePointer = MousePointer::Default;
    Element* focused = nullptr; // the element with the keyboard focus
    // Key-down: the key code (the letter keys are their capital letters' codes) and the shift mask.
    std::function<void(int keyCode, int shift)> onKeyDown;
    // The mouse wheel turned over the window: the delta (kWheelNotch a notch away from the user, negative
    // towards) and the pointer's place in client pixels.
    std::function<void(int delta, double x, double y)> onWheel;
    // A command of the system menu: true when the window carried it out, false to leave it to the system.
    std::function<bool(SystemCommand)> onSystemCommand;
    // The window became the active one again (the user came back to it).
    std::function<void()> onActivate;
    // Whether the focus ring shows: not before the first key press, as the system's keyboard cues.
    bool keyboardCues = false;
    // The parts a screen reader is told of, in reading order; nothing: the window is one plain client area.
    std::function<std::vector<AccessibleItem>()> accessibleChildren;
    std::vector<Timer*> timers;
    // Closed through the system (its close box, Alt+F4, Close on the task bar or the system menu). Without
    // a handler the main window ends the message loop and a dialog closes.
    std::function<void()> onSystemClose;
    // The user's session is ending (log off, restart, shut down): the system ends the process as soon as
    // this returns.
    std::function<void()> onEndSession;
};

// A dialog shown modally: its client size is fixed, and it stays open until Close() is called. Closing it
// through the system runs onSystemClose, which is expected to call Close().
class Dialog : public Window {
public:
    using Window::Window;
    double clientWidth = 0, clientHeight = 0; // pixels
    void Close() { closed_ = true; }
    void Open() { closed_ = false; }
    bool closed() const { return closed_; }

private:
    bool closed_ = true;
};

// A control array: element 0 exists from the start; element k is created on demand as a hidden copy of
// element 0 (same size, fonts, colours, picture and handlers) in the same container, and can be removed.
template <class T>
class ControlArray {
public:
    explicit ControlArray(std::unique_ptr<T> first) { items_.push_back(std::move(first)); }

    int Count() const { return static_cast<int>(items_.size()); }
    T& operator[](int k) { return *items_.at(static_cast<std::size_t>(k)); }
    const T& operator[](int k) const { return *items_.at(static_cast<std::size_t>(k)); }
    // Creates element Count(); returns it.
    T& Append() {
        std::unique_ptr<Element> clone = static_cast<const Element&>(*items_.front()).Clone();
        auto copy = std::unique_ptr<T>(static_cast<T*>(clone.release()));
        copy->index_ = Count();
        copy->visible = false;
        copy->focusRing = false;
        if (Container* parent = items_.front()->container()) {
            parent->Add(*copy);
        }
        items_.push_back(std::move(copy));
        return *items_.back();
    }
    // Removes the last element (element 0 stays).
    void RemoveLast() {
        if (items_.size() > 1) {
            if (Container* parent = items_.back()->container()) {
                parent->Remove(*items_.back());
            }
            items_.pop_back();
        }
    }

private:
    std::vector<std::unique_ptr<T>> items_;
};

} // namespace platform
