#pragma once

#include <QByteArray>
#include <QRunnable>
#include <QSemaphore>

class QThreadPool;

// One band of a zlib stream deflated on its own, as parallel gzip tools do:
// raw deflate at level 6 primed with the last 32 KiB of the band before it,
// ended by a sync flush (the last band by the stream's final block), so that
// the outputs of the bands in order form one deflate stream. The zlib header
// and the check value are the caller's: adler() is this band's alone.
class DeflateBand : public QRunnable {
public:
    static constexpr int WindowBytes = 32 * 1024;
    static constexpr int Level = 6;

    DeflateBand(QByteArray input, QByteArray dictionary, bool last);

    void run() override;
    // Returns once run() has ended. A band the pool has not started yet is
    // taken back and deflated on the calling thread.
    void wait(QThreadPool* pool);

    bool deflated() const { return m_deflated; }
    bool isLast() const { return m_last; }
    qsizetype inputSize() const { return m_inputSize; }
    const QByteArray& output() const { return m_output; }
    quint32 adler() const { return m_adler; }

private:
    QByteArray m_input;
    qsizetype m_inputSize = 0;
    QByteArray m_dictionary;
    bool m_last = false;
    QByteArray m_output;
    quint32 m_adler = 1;
    bool m_deflated = false;
    bool m_waited = false;
    QSemaphore m_done;
};
