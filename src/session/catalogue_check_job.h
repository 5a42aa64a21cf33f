#pragma once

#include "session/catalogue_check.h"
#include "model/catalogue/catalogue.h"
#include "model/rom/rom_image.h"

#include "base/job_runner.h"

#include <QObject>
#include <atomic>
#include <functional>

// Runs a catalogue check as a background job, over copies of the
// catalogue handles and the image, so the window stays free. The problem
// lines come as they are found, a batch at most every 50 milliseconds (the
// first at once); all signals arrive on the thread the job belongs to.
class CatalogueCheckJob : public QObject {
    Q_OBJECT
public:
    explicit CatalogueCheckJob(QObject* parent = nullptr);
    // Stops a check under way and waits for it.
    ~CatalogueCheckJob() override;

    // False, and nothing started, while a check runs.
    bool start(const Catalogue& catalogue, const RomImage& rom);
    // The check ends after the map under way; what it found stays.
    void cancel();
    // From start() until `finished` has been emitted.
    bool isRunning() const { return m_run.isRunning(); }
    // Runs on the check's thread after each batch is sent (tests hold the
    // check there to act between two batches).
    void setAfterBatch(std::function<void()> step) { m_afterBatch = std::move(step); }

signals:
    void found(const QStringList& problems, int done, int total);
    void finished(const CatalogueReport& report, bool whole);

private:
    std::function<void()> m_afterBatch;
    std::atomic<bool> m_cancel = false;
    JobRunner m_run;
};
