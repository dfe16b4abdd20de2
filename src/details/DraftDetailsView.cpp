#include "details/DraftDetailsView.h"

#include "details/DetailsForm.h"
#include "details/DraftDetailsStore.h"
#include "details/DraftDetailsSwitches.h"
#include "details/EmptyStateView.h"
#include "details/MemoryPane.h"
#include "details/ReportCopier.h"
#include "details/SessionRow.h"
#include "foundation/SettingsStore.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace lumeno {

namespace {

QFrame* divider(QFrame::Shape shape, QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    line->setStyleSheet(QStringLiteral("color: palette(mid);"));
    return line;
}

} // namespace

DraftDetailsView::DraftDetailsView(Services services, QWidget* parent) : QWidget(parent), services_(services) {
    setObjectName(QStringLiteral("draftDetailsView"));
    setMinimumSize(700, 460);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildControlBar());
    layout->addWidget(divider(QFrame::HLine, this));

    content_ = new QStackedWidget(this);
    auto* off = new EmptyStateView(QStringLiteral("info.circle"), QStringLiteral("Debug is off"), content_);
    off->setObjectName(QStringLiteral("debugOff"));
    off->setDescription(QStringLiteral("Turn on Record each reply to see what each draft used."));
    off->addButton(QStringLiteral("Open Settings"), [this] { emit settingsRequested(); })
        ->setObjectName(QStringLiteral("openSettings"));
    content_->addWidget(off);

    auto* on = new QWidget(content_);
    on->setObjectName(QStringLiteral("recordingOn"));
    auto* columns = new QHBoxLayout(on);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(0);
    auto* pane = new MemoryPane(services_.memory, on);
    pane->setMinimumWidth(260);
    pane->setMaximumWidth(360);
    pane->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    columns->addWidget(pane, 0);
    columns->addWidget(divider(QFrame::VLine, on));
    columns->addWidget(buildRecordsPage(), 1);
    content_->addWidget(on);
    layout->addWidget(content_, 1);

    connect(&services_.settings, &SettingsStore::showsDraftDetailsChanged, this, &DraftDetailsView::refreshSwitches);
    connect(&services_.settings, &SettingsStore::savesDraftDetailsChanged, this, &DraftDetailsView::refreshSwitches);
    connect(&services_.settings, &SettingsStore::hotkeyChanged, this, &DraftDetailsView::refreshRecords);
    connect(&services_.store, &DraftDetailsStore::sessionsChanged, this, &DraftDetailsView::refreshRecords);
    refreshSwitches();
    refreshRecords();
}

QWidget* DraftDetailsView::buildControlBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("controlBar"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->setSpacing(20);
    record_ = new QCheckBox(QStringLiteral("Record each reply"), bar);
    record_->setObjectName(QStringLiteral("recordEachReply"));
    save_ = new QCheckBox(QStringLiteral("Save to disk"), bar);
    save_->setObjectName(QStringLiteral("saveToDisk"));
    // `clicked` fires for the user's flips only; the boxes then follow the settings they changed.
    connect(record_, &QCheckBox::clicked, this, [this](bool on) { services_.switches.setShowsDraftDetails(on); });
    connect(save_, &QCheckBox::clicked, this, [this](bool on) { services_.switches.setSavesDraftDetails(on); });
    layout->addWidget(record_);
    layout->addWidget(save_);
    layout->addStretch(1);
    return bar;
}

QWidget* DraftDetailsView::buildRecordsPage() {
    records_ = new QStackedWidget(this);
    noRecords_ = new EmptyStateView(QStringLiteral("text.bubble"), QStringLiteral("No reply recorded yet"), records_);
    noRecords_->setObjectName(QStringLiteral("noRecords"));
    records_->addWidget(noRecords_);

    auto* listed = new QWidget(records_);
    auto* layout = new QVBoxLayout(listed);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    list_ = new QListWidget(listed);
    list_->setObjectName(QStringLiteral("records"));
    list_->setFixedHeight(120);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setStyleSheet(QStringLiteral("QListWidget { padding: 4px 8px; } QListWidget::item { border-radius: 6px; }"));
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || row >= services_.store.sessions().size())
            return;
        selection_ = services_.store.sessions()[row].id;
        showCurrent();
    });
    layout->addWidget(list_);
    layout->addWidget(divider(QFrame::HLine, listed));
    form_ = new DetailsForm(listed);
    form_->onCopy = [this](const DraftDetails& details) { services_.copier.copy(details); };
    layout->addWidget(form_, 1);
    records_->addWidget(listed);
    return records_;
}

std::optional<DraftDetails> DraftDetailsView::current() const {
    const QList<DraftDetails>& sessions = services_.store.sessions();
    for (const DraftDetails& details : sessions)
        if (selection_ && details.id == *selection_)
            return details;
    return sessions.isEmpty() ? std::nullopt : std::optional<DraftDetails>(sessions.first());
}

void DraftDetailsView::refreshSwitches() {
    const bool recording = services_.settings.showsDraftDetails();
    record_->setChecked(recording);
    save_->setChecked(services_.settings.savesDraftDetails());
    save_->setVisible(recording);
    content_->setCurrentIndex(recording ? 1 : 0);
}

void DraftDetailsView::refreshRecords() {
    const QList<DraftDetails>& sessions = services_.store.sessions();
    // A new newest record (recorded, reloaded, or the list emptied) takes the selection.
    const std::optional<QUuid> newest = sessions.isEmpty() ? std::nullopt : std::optional<QUuid>(sessions.first().id);
    if (newest != newestShown_) {
        newestShown_ = newest;
        selection_ = newest;
    }
    noRecords_->setDescription(QStringLiteral("Hold %1 and speak.")
                                   .arg(services_.settings.hotkey().displayName(services_.keyboard)));
    records_->setCurrentIndex(sessions.isEmpty() ? 0 : 1);

    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const DraftDetails& details : sessions) {
        auto* item = new QListWidgetItem(list_);
        auto* row = new SessionRow(details);
        item->setSizeHint(row->sizeHint());
        list_->setItemWidget(item, row);
    }
    showCurrent();
}

void DraftDetailsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Opening the window shows the latest draft, not the one clicked the last time it was open.
    const QList<DraftDetails>& sessions = services_.store.sessions();
    selection_ = sessions.isEmpty() ? std::nullopt : std::optional<QUuid>(sessions.first().id);
    showCurrent();
}

void DraftDetailsView::showCurrent() {
    const std::optional<DraftDetails> shown = current();
    if (!shown)
        return;
    const QList<DraftDetails>& sessions = services_.store.sessions();
    for (int row = 0; row < sessions.size(); ++row)
        if (sessions[row].id == shown->id) {
            const QSignalBlocker quiet(list_);
            list_->setCurrentRow(row);
        }
    form_->setDetails(*shown);
}

} // namespace lumeno
