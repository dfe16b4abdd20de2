#include "memory/ui/MemoryView.h"

#include "memory/MemoryStore.h"
#include "memory/ui/Destructive.h"
#include "memory/ui/CommitmentList.h"
#include "memory/ui/ExportLocationChooser.h"
#include "memory/ui/PeoplePane.h"
#include "memory/ui/PinList.h"
#include "memory/ui/RecordTextField.h"
#include "memory/ui/SegmentedPicker.h"
#include "support/Clock.h"
#include "support/Log.h"
#include "ui/Hierarchy.h"
#include "ui/TypeScale.h"

#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextDocument>
#include <QVBoxLayout>

namespace lumeno {

namespace {

QFrame* divider(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    setTextHierarchy(*line, Hierarchy::quaternary);
    return line;
}

QString counted(qsizetype count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

// The file's place as the user would type it: the home folder shown as "~".
QString homeRelative(const QString& path) {
    const QString home = QDir::homePath();
    if (path.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + path.mid(home.size());
    return path;
}

} // namespace

MemoryView::MemoryView(MemoryStore& memory, ExportLocationChooser& exportChooser, Scheduler& scheduler,
                       QWidget* parent)
    : QWidget(parent), memory_(memory), exportChooser_(exportChooser), scheduler_(scheduler) {
    setObjectName(QStringLiteral("memoryView"));
    setMinimumSize(680, 440);
    commitments_ = new CommitmentList(memory_, this);
    people_ = new PeoplePane(memory_, this);
    pins_ = new PinList(memory_, this);
    content_ = new QStackedWidget(this);
    content_->setObjectName(QStringLiteral("sectionContent"));
    content_->addWidget(commitments_);
    content_->addWidget(people_);
    content_->addWidget(pins_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header());
    layout->addWidget(divider(this));
    layout->addWidget(content_, 1);
    layout->addWidget(divider(this));
    layout->addWidget(footer());

    connect(&memory_, &MemoryStore::changed, this, &MemoryView::refresh);
    refresh();
    refreshAtNextMidnight();
}

MemoryView::~MemoryView() {
    if (midnight_)
        scheduler_.cancel(*midnight_);
}

void MemoryView::refreshAtNextMidnight() {
    const QDateTime now = memory_.clock().now();
    const QDateTime midnight = now.toLocalTime().date().addDays(1).startOfDay();
    // At least a second on, should the day have no midnight the clock can reach.
    const double seconds = std::max(1.0, double(now.msecsTo(midnight)) / 1000.0);
    midnight_ = scheduler_.after(seconds, [this] {
        refresh();
        refreshAtNextMidnight();
    });
}

QWidget* MemoryView::header() {
    auto* bar = new QWidget(this);
    sections_ = new SegmentedPicker({QString(), QString(), QString()}, bar);
    sections_->setObjectName(QStringLiteral("section"));
    sections_->setAccessibleName(QStringLiteral("Section"));
    search_ = new QLineEdit(bar);
    search_->setObjectName(QStringLiteral("search"));
    search_->setAccessibleName(QStringLiteral("Search"));
    search_->setPlaceholderText(QStringLiteral("Search memory"));
    search_->setClearButtonEnabled(true);
    search_->setFixedWidth(200);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(sections_);
    layout->addStretch();
    layout->addWidget(search_);

    connect(sections_, &SegmentedPicker::currentIndexChanged, content_, &QStackedWidget::setCurrentIndex);
    connect(search_, &QLineEdit::textChanged, this, &MemoryView::refresh);
    return bar;
}

QWidget* MemoryView::footer() {
    auto* bar = new QWidget(this);
    auto* where = new QLabel(
        QStringLiteral("Stored only on this computer, in %1.").arg(homeRelative(memory_.filePath())), bar);
    where->setObjectName(QStringLiteral("storedWhere"));
    where->setTextFormat(Qt::PlainText);
    where->setFont(TypeScale::font(12));
    setTextHierarchy(*where, Hierarchy::secondary);
    where->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    where->setToolTip(memory_.filePath());

    auto* exportButton = new QPushButton(QStringLiteral("Export\u2026"), bar);
    exportButton->setObjectName(QStringLiteral("export"));
    wipe_ = new QPushButton(QStringLiteral("Wipe All\u2026"), bar);
    wipe_->setObjectName(QStringLiteral("wipeAll"));
    markDestructive(*wipe_);

    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(where, 1);
    layout->addWidget(exportButton);
    layout->addWidget(wipe_);

    connect(exportButton, &QPushButton::clicked, this, &MemoryView::exportMemory);
    connect(wipe_, &QPushButton::clicked, this, &MemoryView::confirmWipe);
    return bar;
}

MemoryView::Section MemoryView::section() const {
    return static_cast<Section>(sections_->currentIndex());
}

void MemoryView::setSection(Section section) {
    sections_->setCurrentIndex(static_cast<int>(section));
}

QString MemoryView::query() const {
    return search_->text();
}

std::optional<QUuid> MemoryView::selectedPerson() const {
    return people_->selection();
}

void MemoryView::keepPendingEdits() {
    for (RecordTextField* field : findChildren<RecordTextField*>())
        if (field->text() != field->storedText())
            field->commit();
    if (PersonEditor* editor = people_->editor())
        editor->save();
}

QString MemoryView::wipeMessage(const MemoryData& data) {
    return QStringLiteral("This removes %1, %2 and %3 from this computer. It can't be undone. Export first to keep a copy.")
        .arg(counted(data.people.size(), "person", "people"),
             counted(data.commitments.size(), "commitment", "commitments"), counted(data.pins.size(), "pin", "pins"));
}

void MemoryView::refresh() {
    const MemoryStore::SearchResults found = memory_.search(search_->text());
    const auto open = std::count_if(found.commitments.begin(), found.commitments.end(),
                                    [](const Commitment& commitment) { return !commitment.done; });
    sections_->setSegments({QStringLiteral("Commitments (%1)").arg(open),
                            QStringLiteral("People (%1)").arg(found.people.size()),
                            QStringLiteral("Pins (%1)").arg(found.pins.size())});
    commitments_->setRecords(found.commitments);
    people_->setPeople(found.people);
    pins_->setRecords(found.pins);
    const MemoryData& stored = memory_.data();
    wipe_->setEnabled(!stored.people.isEmpty() || !stored.commitments.isEmpty() || !stored.pins.isEmpty());
}

QCoro::Task<> MemoryView::exportMemory() {
    const std::optional<QString> path = exportChooser_.choose(this, QStringLiteral("Lumeno Memory.json"));
    if (!path || path->isEmpty())
        co_return;
    const QPointer<MemoryView> self(this);
    QCoro::Task<std::optional<QString>> writing = memory_.exportTo(*path);
    const std::optional<QString> failure = co_await writing;
    if (failure) {
        if (self)
            showFailure(QStringLiteral("exportError"), QStringLiteral("Couldn't export"), *failure);
        co_return;
    }
    Log::memory.info(QStringLiteral("Memory exported"));
}

void MemoryView::showFailure(const QString& objectName, const QString& title, const QString& message) {
    auto* box = new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::Ok, this);
    box->setObjectName(objectName);
    // The message names a file; a name like "<i>.json" must show as typed, not as markup.
    box->setInformativeText(Qt::convertFromPlainText(message));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MemoryView::confirmWipe() {
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Delete everything Lumeno remembers?"),
                                QStringLiteral("Delete everything Lumeno remembers?"), QMessageBox::NoButton, this);
    box->setObjectName(QStringLiteral("confirmWipe"));
    box->setInformativeText(wipeMessage(memory_.data()));
    QPushButton* wipe = box->addButton(QStringLiteral("Delete Everything"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box->addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(cancel);
    box->setEscapeButton(cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::buttonClicked, this, [this, wipe](QAbstractButton* clicked) {
        if (clicked != wipe)
            return;
        people_->setSelection(std::nullopt);
        wipeEverything();
    });
    box->open();
}

QCoro::Task<> MemoryView::wipeEverything() {
    const QPointer<MemoryView> self(this);
    QCoro::Task<std::optional<QString>> wiping = memory_.wipe();
    const std::optional<QString> failure = co_await wiping;
    if (self && failure)
        showFailure(QStringLiteral("wipeError"), QStringLiteral("Couldn't wipe memory"), *failure);
}

} // namespace lumeno
