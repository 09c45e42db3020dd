#pragma once
#include <QColor>
#include <QPoint>

#include <optional>

// Where the colour board reads the colour shown on the screen.
class ScreenColorSource {
public:
    virtual ~ScreenColorSource() = default;
    // The colour at a global position (device-independent pixels), or nothing when the screen
    // cannot be read there.
    virtual std::optional<QColor> colorAt(const QPoint& globalPos) = 0;
};

// Reads the screen under the position through the framework's window grab (the framework does
// its own scaling). Some desktops (Wayland) refuse grabs: that gives nothing.
class ScreenGrabColorSource : public ScreenColorSource {
public:
    std::optional<QColor> colorAt(const QPoint& globalPos) override;
};
