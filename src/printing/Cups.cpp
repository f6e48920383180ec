#include "Cups.h"

#include <QLibrary>
#include <QScopeGuard>

#include <cups/cups.h>
#include <type_traits>

namespace {

// The few functions of libcups the program uses, resolved at run time:
// linked in, libcups would load, and slow, every start-up for the sake of
// the few runs that print.
struct Cups
{
    decltype(&cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    decltype(&cupsGetOption) getOption = nullptr;
    decltype(&cupsCopyDestInfo) copyDestInfo = nullptr;
    decltype(&cupsFreeDestInfo) freeDestInfo = nullptr;
    decltype(&cupsFindDestDefault) findDestDefault = nullptr;
    decltype(&ippGetCollection) getCollection = nullptr;
    decltype(&ippFindAttribute) findAttribute = nullptr;
    decltype(&ippGetInteger) getInteger = nullptr;
    decltype(&cupsLastError) lastError = nullptr;
};

const Cups *cups()
{
    static const std::optional<Cups> loaded = []() -> std::optional<Cups> {
        // Qt's CUPS support has it loaded already by the time anything prints.
        QLibrary library(QStringLiteral("cups"), 2);
        Cups c;
        bool all = true;
        const auto resolve = [&](auto &function, const char *name) {
            function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
                library.resolve(name));
            all = all && function;
        };
        resolve(c.getNamedDest, "cupsGetNamedDest");
        resolve(c.freeDests, "cupsFreeDests");
        resolve(c.getOption, "cupsGetOption");
        resolve(c.copyDestInfo, "cupsCopyDestInfo");
        resolve(c.freeDestInfo, "cupsFreeDestInfo");
        resolve(c.findDestDefault, "cupsFindDestDefault");
        resolve(c.getCollection, "ippGetCollection");
        resolve(c.findAttribute, "ippFindAttribute");
        resolve(c.getInteger, "ippGetInteger");
        resolve(c.lastError, "cupsLastError");
        return all ? std::optional(c) : std::nullopt;
    }();
    return loaded ? &*loaded : nullptr;
}

// IPP gives lengths in hundredths of a millimetre.
constexpr qreal pointsPerHundredthMm = 72 / 2540.0;

} // namespace

CupsQueue cupsQueue(const QString &printerName)
{
    CupsQueue queue;
    const Cups *c = cups();
    if (!c)
        return queue;
    const QByteArray name = printerName.section(u'/', 0, 0).toLocal8Bit();
    const QByteArray instance = printerName.section(u'/', 1).toLocal8Bit();
    cups_dest_t *dest = c->getNamedDest(CUPS_HTTP_DEFAULT, name.constData(),
                                        instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        return queue;
    const auto freeDest = qScopeGuard([&] { c->freeDests(1, dest); });
    queue.acceptsJobs =
        qstrcmp(c->getOption("printer-is-accepting-jobs", dest->num_options, dest->options),
                "false") != 0;

    cups_dinfo_t *info = c->copyDestInfo(CUPS_HTTP_DEFAULT, dest);
    if (!info)
        return queue;
    const auto freeInfo = qScopeGuard([&] { c->freeDestInfo(info); });
    // The default media-col, which CUPS makes from the driver's own figures.
    // cupsGetDestMediaDefault() would look the queue's default up by name, and
    // for a driver's label CUPS 2.4 finds another one.
    ipp_attribute_t *medium = c->findDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media-col");
    ipp_t *collection = medium ? c->getCollection(medium, 0) : nullptr;
    const auto points = [&](const char *member) {
        ipp_attribute_t *value =
            collection ? c->findAttribute(collection, member, IPP_TAG_INTEGER) : nullptr;
        return value ? c->getInteger(value, 0) * pointsPerHundredthMm : 0.0;
    };
    const QSizeF size(points("media-size/x-dimension"), points("media-size/y-dimension"));
    if (size.isEmpty())
        return queue;
    queue.mediumSize = size;
    queue.mediumMargins = QMarginsF(points("media-left-margin"), points("media-top-margin"),
                                    points("media-right-margin"), points("media-bottom-margin"));
    return queue;
}

bool cupsRefusedLastJob()
{
    const Cups *c = cups();
    return c && c->lastError() > IPP_STATUS_OK_EVENTS_COMPLETE;
}
