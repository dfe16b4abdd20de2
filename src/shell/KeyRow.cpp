#include "shell/KeyRow.h"

#include "shell/DemoFrame.h"
#include "shell/KeyRowAccessible.h"
#include "shell/Keycap.h"
#include "shell/OnboardingKeyboard.h"

#include <QAccessible>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace lumeno {

namespace {

constexpr double keyGap = 5;
constexpr double baseRoom = 2; // the key's side shows below its face

// Only the rows from just above the highest key to hold: the drawing stays a short strip.
std::vector<OnboardingKeyDraw> lowerRows(std::vector<OnboardingKeyDraw> draws) {
    double top = 0;
    bool any = false;
    for (const auto& draw : draws) {
        if (draw.emphasized) {
            top = any ? std::min(top, draw.y) : draw.y;
            any = true;
        }
    }
    top -= 1.2;
    std::erase_if(draws, [top](const OnboardingKeyDraw& draw) { return draw.y < top; });
    return draws;
}

// The keys' extent, in key units.
QRectF boundsOf(const std::vector<OnboardingKeyDraw>& draws) {
    QRectF bounds;
    for (const auto& draw : draws)
        bounds |= QRectF(draw.x, draw.y, draw.w, draw.h);
    return bounds;
}

} // namespace

KeyRow::KeyRow(const KeyboardLayout& layout, QWidget* parent) : QWidget(parent), layout_(layout) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    KeyRowAccessible::install();
}

void KeyRow::setHotkey(const Hotkey& hotkey, bool edit) {
    draws_ = lowerRows(OnboardingKeyboard::cluster(hotkey, edit, layout_));
    // The reply and the edit pieces share one frame: a key both show stays where it is when the page turns.
    bounds_ = boundsOf(draws_) | boundsOf(lowerRows(OnboardingKeyboard::cluster(hotkey, !edit, layout_)));
    if (bounds_.isEmpty())
        bounds_ = QRectF(0, 0, 1, 1);
    QStringList names;
    for (const auto& draw : draws_) {
        if (draw.emphasized)
            names << Keycap::accessibleName(draw.label);
    }
    setAccessibleName(names.join(QStringLiteral(", ")));
    setFixedSize(sizeHint());
    updateGeometry();
    update();
    // Screen readers read the keys anew: other keys, other names, other keys to hold.
    QAccessibleEvent reordered(this, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reordered);
}

void KeyRow::setHeld(const QSet<KeySpot>& held) {
    if (held == held_)
        return;
    held_ = held;
    update();
}

void KeyRow::setTime(double elapsed) {
    const double before = demoPress();
    t_ = std::fmod(elapsed, DemoFrame::loopSeconds);
    if (demoPress() != before)
        update();
}

double KeyRow::demoPress() const {
    // Down over a short ease as the demonstration starts listening, up again as it stops.
    if (t_ < DemoFrame::holdStart)
        return 0;
    if (t_ < DemoFrame::holdEnd)
        return std::min(1.0, (t_ - DemoFrame::holdStart) / pressSeconds);
    return std::max(0.0, 1 - (t_ - DemoFrame::holdEnd) / pressSeconds);
}

std::vector<double> KeyRow::pressAmounts() const {
    std::vector<double> amounts;
    for (const auto& draw : draws_)
        amounts.push_back(held_.contains(draw.spot) ? 1.0 : draw.emphasized ? demoPress() : 0.0);
    return amounts;
}

QRectF KeyRow::keyFrame(int index) const {
    const auto& draw = draws_[size_t(index)];
    return QRectF((draw.x - bounds_.left()) * unit, (draw.y - bounds_.top()) * unit, draw.w * unit - keyGap,
                  draw.h * unit - keyGap);
}

QSize KeyRow::sizeHint() const {
    return QSize(int(std::ceil(bounds_.width() * unit)), int(std::ceil(bounds_.height() * unit + baseRoom)));
}

void KeyRow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const std::vector<double> amounts = pressAmounts();
    for (size_t i = 0; i < draws_.size(); ++i) {
        const auto& draw = draws_[i];
        painter.setOpacity(draw.opacity);
        Keycap{draw.spot, draw.label, draw.emphasized, amounts[i], unit}.paint(painter, keyFrame(int(i)), palette());
    }
}

} // namespace lumeno
