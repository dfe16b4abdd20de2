#pragma once

#include "foundation/Hotkey.h"
#include "shell/OnboardingKeyDraw.h"

#include <QSet>
#include <QWidget>
#include <vector>

namespace lumeno {

class KeyboardLayout;

// The keys to hold, drawn as a small piece of keyboard: the lower rows around the hot key (or its edit
// shortcut). The keys to hold go down while the demonstration listens and whenever the user holds them.
class KeyRow : public QWidget {
    Q_OBJECT
public:
    static constexpr double unit = 44;      // points per key unit
    static constexpr double pressSeconds = 0.12;

    KeyRow(const KeyboardLayout& layout, QWidget* parent = nullptr);

    void setHotkey(const Hotkey& hotkey, bool edit);
    void setHeld(const QSet<KeySpot>& held);
    // Seconds since the page was shown: the keys to hold are down during the demonstration's listening.
    void setTime(double elapsed);

    const std::vector<OnboardingKeyDraw>& draws() const { return draws_; }
    // How far each drawn key is down, 0 to 1, in the order of draws().
    std::vector<double> pressAmounts() const;
    // Where the face of the key at `index` in draws() sits in the row; its base shows just below.
    QRectF keyFrame(int index) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double demoPress() const;

    const KeyboardLayout& layout_;
    std::vector<OnboardingKeyDraw> draws_;
    QRectF bounds_; // of the kept keys of both pages, in key units
    QSet<KeySpot> held_;
    double t_ = 0;
};

} // namespace lumeno
