#include "storage/large_memory.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <cstdint>
#include <limits>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>
#endif

namespace tarvik {

namespace memory {

namespace {

constexpr quintptr HugePage = quintptr(2) * 1024 * 1024;
// Below this, a buffer holds at most a huge page or two: not worth a call.
constexpr qsizetype Floor = qsizetype(4) * 1024 * 1024;

} // namespace

void adviseHugePages(const void* data, qsizetype size)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    if (!data || size < Floor)
        return;
    const auto from = reinterpret_cast<quintptr>(data);
    const quintptr first = (from + HugePage - 1) & ~(HugePage - 1);
    const quintptr last = (from + quintptr(size)) & ~(HugePage - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

QByteArray readAll(QFile& file)
{
    const auto failed = [&file] {
        return TarvikError(QStringLiteral("Impossible de lire le fichier %1 : %2")
                               .arg(QFileInfo(file.fileName()).fileName(), file.errorString()));
    };
    const qint64 expected = file.size() - file.pos();
    QByteArray data;
    if (expected > 0 && expected <= std::numeric_limits<qsizetype>::max() / 2) {
        data.resize(qsizetype(expected));
        adviseHugePages(data.constData(), data.size());
        qsizetype got = 0;
        while (got < data.size()) {
            const qint64 n = file.read(data.data() + got, data.size() - got);
            if (n < 0)
                throw failed();
            if (n == 0)
                break; // shorter than it said: what there is
            got += qsizetype(n);
        }
        data.truncate(got);
    }
    // Whatever was written behind the size read at the start.
    for (;;) {
        char rest[1 << 14];
        const qint64 n = file.read(rest, sizeof rest);
        if (n < 0)
            throw failed();
        if (n == 0)
            break;
        data.append(rest, qsizetype(n));
    }
    return data;
}

} // namespace memory

} // namespace tarvik
