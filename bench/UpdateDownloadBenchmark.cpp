#include "foundation/AppBundle.h"
#include "foundation/SettingsStore.h"
#include "platform/fake/FakeDefaultsStore.h"
#include "platform/fake/FakeSecretStore.h"
#include "platform/linux/QtHttpTransport.h"
#include "support/ManualScheduler.h"
#include "updates/FeedServer.h"
#include "updates/SoftwareUpdate.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QProcess>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>

namespace lumeno {
namespace {

// Resident memory while the updater downloads, checks and unpacks a large release from a loopback server.
// The archive goes to a file as it arrives, so the heap should stay flat whatever the archive's size
// (peak_heap_growth, download_rss_growth); peak_rss_growth also counts the file's pages while its
// signature is checked over a mapping of it: pages of the file, which the system can take back, not heap.

constexpr int archiveMiB = 200;
// An archive address that answers with an error page this large, for an archive the feed says is larger
// still: only the page's first few KiB should ever reach the heap (peak_heap_growth).
constexpr int errorPageMiB = 201;
constexpr qint64 statedLength = 256LL * 1024 * 1024;

// One of /proc/self/status's sizes, in bytes.
qint64 statusBytes(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return 0;
}

// The installed 1.0.0 and a signed release 1.1.0 padded with `paddingMiB` of random bytes, made by the
// shell and scripts/release-sign.sh; the feed's item on standard output.
QByteArray makeRelease(const QString& root, const QUrl& archiveUrl, int paddingMiB) {
    const QString script = QStringLiteral(R"(set -e
cd "$1"
key=$("$2" keygen keys)
for version in 1.0.0 1.1.0; do
  mkdir -p "$version/lumeno"
  printf '#!/bin/sh\n' > "$version/lumeno/lumeno"; chmod 755 "$version/lumeno/lumeno"
  printf 'identifier=app.lumeno.Lumeno\nversion=%s\ndisplay-version=%s\nfeed=\npublic-key=%s\ninstallation=install\n' \
    "$version" "$version" "$key" > "$version/lumeno/bundle.properties"
done
mkdir -p prefix/lib && mv 1.0.0/lumeno prefix/lib/lumeno
head -c $3M /dev/urandom > 1.1.0/lumeno/padding
tar -cf - -C 1.1.0 lumeno | gzip -1 > release.tar.gz
"$2" sign keys/update-private.pem release.tar.gz 1.1.0 1.1 "$4")");
    QProcess shell;
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), script, QStringLiteral("sh"), root,
                                       QStringLiteral(LUMENO_RELEASE_SIGN), QString::number(paddingMiB),
                                       archiveUrl.toString()});
    shell.waitForFinished(-1);
    if (shell.exitCode() != 0)
        std::fprintf(stderr, "%s", shell.readAllStandardError().constData());
    return shell.readAllStandardOutput();
}

// Heap and resident memory while one download runs, from just before it starts (the counters below).
struct Growth {
    qint64 peakRss = 0;
    qint64 downloadRss = 0;
    qint64 peakHeap = 0;
};

// The installed 1.0.0 of `root`, reading the feed `feed` from `server`.
struct UpdateBench {
    explicit UpdateBench(const QString& root, const QUrl& feed)
        : bundle(AppBundle::read(QDir(root).filePath(QStringLiteral("prefix/lib/lumeno")))), feed(feed) {}

    bool isReady() const { return std::holds_alternative<AppBundle>(bundle); }

    // Checks, then downloads what was offered until it is ready or fails; the update's phase then.
    SoftwareUpdate::Phase checkAndDownload(benchmark::State& state, Growth& growth,
                                           std::optional<UpdateProblem>& problem) {
        SoftwareUpdate update({std::get<AppBundle>(bundle), feed, std::make_shared<QtHttpTransport>(), settings,
                               QStringLiteral("6.1.0"), {},
                               [](std::function<void()> job) { QThreadPool::globalInstance()->start(std::move(job)); },
                               scheduler, {}, {}, {}});
        QEventLoop loop;
        QObject::connect(&update, &SoftwareUpdate::changed, &loop, [&] {
            using Phase = SoftwareUpdate::Phase;
            if (update.phase() == Phase::available || update.phase() == Phase::readyToInstall ||
                update.phase() == Phase::failed)
                loop.quit();
        });
        update.check(true);
        loop.exec();
        const qint64 before = statusBytes("VmRSS");
        const qint64 anonymousBefore = statusBytes("RssAnon");
        {
            QFile reset(QStringLiteral("/proc/self/clear_refs"));
            if (reset.open(QIODevice::WriteOnly))
                reset.write("5"); // the peak starts again from here
        }
        qint64 anonymousPeak = anonymousBefore;
        qint64 downloadPeak = before;
        QTimer sampler;
        QObject::connect(&sampler, &QTimer::timeout, [&] { anonymousPeak = std::max(anonymousPeak, statusBytes("RssAnon")); });
        QObject::connect(&update, &SoftwareUpdate::progress, [&] {
            downloadPeak = std::max(downloadPeak, statusBytes("VmRSS"));
            anonymousPeak = std::max(anonymousPeak, statusBytes("RssAnon"));
        });
        sampler.start(5);
        state.ResumeTiming();
        update.installUpdate();
        loop.exec();
        state.PauseTiming();
        sampler.stop();
        anonymousPeak = std::max(anonymousPeak, statusBytes("RssAnon"));
        growth = {statusBytes("VmHWM") - before, downloadPeak - before, anonymousPeak - anonymousBefore};
        problem = update.problem();
        return update.phase();
    }

    const std::variant<AppBundle, QString> bundle;
    const QUrl feed;
    FakeDefaultsStore defaults;
    FakeSecretStore secrets;
    SettingsStore settings{defaults, secrets};
    ManualClock clock;
    ManualScheduler scheduler{clock}; // the download never reaches the hand-over, which alone waits on time
};

constexpr double mebibyte = 1024.0 * 1024.0;

QByteArray feedOf(const QByteArray& item) {
    return "<?xml version=\"1.0\"?><rss version=\"2.0\" xmlns:lumeno=\"https://lumeno.app/xml/update\">"
           "<channel>" + item + "</channel></rss>";
}

// Each iteration checks and downloads; it must end ready to install, or when `failure` is given, failed
// with it. `report` then sets the counters from what the download grew by.
void measure(benchmark::State& state, UpdateBench& bench, std::optional<UpdateProblem::Kind> failure,
             const std::function<void(const Growth&)>& report) {
    if (!bench.isReady()) {
        state.SkipWithError("the release could not be made");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        Growth growth;
        std::optional<UpdateProblem> problem;
        const SoftwareUpdate::Phase phase = bench.checkAndDownload(state, growth, problem);
        if (failure ? !problem || problem->kind != *failure : phase != SoftwareUpdate::Phase::readyToInstall) {
            state.SkipWithError(qPrintable(problem ? problem->reason : QStringLiteral("it did not fail")));
            return;
        }
        report(growth);
        state.ResumeTiming();
    }
}

void downloadLargeArchive(benchmark::State& state) {
    QTemporaryDir root;
    testing::FeedServer server;
    const QByteArray item = makeRelease(root.path(), server.url(QStringLiteral("/release.tar.gz")), archiveMiB);
    server.serve(QStringLiteral("/feed.xml"), feedOf(item));
    server.serveFile(QStringLiteral("/release.tar.gz"), root.filePath(QStringLiteral("release.tar.gz")));
    UpdateBench bench(root.path(), server.url(QStringLiteral("/feed.xml")));
    measure(state, bench, std::nullopt, [&](const Growth& growth) {
        state.counters["archive_MiB"] = double(QFileInfo(root.filePath(QStringLiteral("release.tar.gz"))).size()) / mebibyte;
        state.counters["peak_rss_growth_MiB"] = double(growth.peakRss) / mebibyte;
        state.counters["download_rss_growth_MiB"] = double(growth.downloadRss) / mebibyte;
        state.counters["peak_heap_growth_MiB"] = double(growth.peakHeap) / mebibyte;
        QDir(root.filePath(QStringLiteral("prefix/lib/lumeno.update"))).removeRecursively();
    });
}

// The archive's address answers 500 with a long error page, for an archive the feed says is 256 MiB.
void archiveServerErrorPage(benchmark::State& state) {
    QTemporaryDir root;
    testing::FeedServer server;
    const QByteArray item = QString::fromUtf8(makeRelease(root.path(), server.url(QStringLiteral("/release.tar.gz")), 0))
                                .replace(QRegularExpression(QStringLiteral("length=\"\\d+\"")),
                                         QStringLiteral("length=\"%1\"").arg(statedLength))
                                .toUtf8();
    server.serve(QStringLiteral("/feed.xml"), feedOf(item));
    QFile page(root.filePath(QStringLiteral("error-page.txt")));
    if (!page.open(QIODevice::WriteOnly) || page.write("Internal Server Error\n") < 0 ||
        !page.resize(qint64(errorPageMiB) * 1024 * 1024)) {
        state.SkipWithError("the error page could not be written");
        return;
    }
    page.close();
    server.serveFile(QStringLiteral("/release.tar.gz"), page.fileName(), 500);
    UpdateBench bench(root.path(), server.url(QStringLiteral("/feed.xml")));
    measure(state, bench, UpdateProblem::Kind::downloadRefused, [&](const Growth& growth) {
        state.counters["error_page_MiB"] = errorPageMiB;
        state.counters["peak_rss_growth_MiB"] = double(growth.peakRss) / mebibyte;
        state.counters["peak_heap_growth_MiB"] = double(growth.peakHeap) / mebibyte;
    });
}

} // namespace
} // namespace lumeno

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("DownloadLargeArchive", lumeno::downloadLargeArchive)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("ArchiveServerErrorPage", lumeno::archiveServerErrorPage)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
