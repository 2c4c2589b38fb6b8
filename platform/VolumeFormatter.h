#pragma once

#include <QString>
#include <QtGlobal>

// What the card format procedure asks of the volume formatter.
struct FormatRequest
{
    QString cardRoot; // the card folder, ending with '/'
    bool removableMedia = true;
    QString fileSystem; // "FAT32" or "exfat", exactly as the procedure names them
    QString label;      // the procedure's label; the backend makes it valid for the file system
    bool quickFormat = true;
    quint32 clusterSize = 0; // in bytes; 0 = the file system's default
};

// The two reports a formatter gives while it runs, on the thread that called Format().
class FormatReports
{
public:
    virtual ~FormatReports() = default;

    // One more structure of the new file system is in place (one step of the progress bar).
    virtual void StructureProgress() = 0;
    // The format has ended; success tells whether the card now holds the new file system.
    virtual void Done(bool success) = 0;

protected:
    FormatReports() = default;
    Q_DISABLE_COPY_MOVE(FormatReports)
};

// How a call to Format() ended, as far as the caller must act on it.
struct FormatOutcome
{
    enum class Kind
    {
        NotAvailable, // no formatter on this system: nothing was touched, no report was given
        Refused,      // the folder is not on a card the formatter may format: nothing was touched
        Ran,          // the formatter ran and gave its Done report
    };
    Kind kind = Kind::NotAvailable;
    // NotAvailable / Refused: a short English reason for the debug output.
    QString reason;
    // Ran: where the card's folder is now, ending with '/'. A formatter that mounts the new file
    // system elsewhere (the mount point may carry the label) says so here; otherwise cardRoot.
    QString cardRootAfter;
};

// Formats the volume that holds a card folder. Runs on a worker thread and blocks until done.
class VolumeFormatter
{
public:
    virtual ~VolumeFormatter() = default;

    virtual FormatOutcome Format(const FormatRequest& request, FormatReports& reports) const = 0;

protected:
    VolumeFormatter() = default;
    Q_DISABLE_COPY_MOVE(VolumeFormatter)
};
