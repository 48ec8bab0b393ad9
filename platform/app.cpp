#include "platform/app.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <QTimeZone>
#include <cmath>
#include <cstdlib>
#include <exception>

#include "engine/dates.h"
#include "engine/environment.h"
#include "platform/dialogs.h"

namespace platform {

namespace {
bool ending = false;

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TIDEWYN_VZEROUPPER 1
__attribute__((target("avx"))) void zeroUpperHalves() { __builtin_ia32_vzeroupper(); }
#endif

std::string folderOrHome(const QString& path) {
    if (!path.isEmpty()) return QDir::cleanPath(path).toStdString();
    return QDir::homePath().toStdString();
}

const QDate kDateValueZero(1899, 12, 30);

double dateValueOf(const QDateTime& utc) {
    return static_cast<double>(kDateValueZero.daysTo(utc.date())) +
           utc.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime utcOfDateValue(double value) {
    const QDateTime zero = kDateValueZero.startOfDay(QTimeZone(0));
    return zero.addMSecs(std::llround(value * 86400000.0));
}
}  // namespace

std::function<double(double)> ZoneOffsetHours(const std::string& zoneId) {
    const QTimeZone zone =
        zoneId.empty() ? QTimeZone::systemTimeZone() : QTimeZone(QByteArray::fromStdString(zoneId));
    return [zone](double utc) {
        // A zone Qt does not know counts as UTC.
        return zone.isValid() ? zone.offsetFromUtc(utcOfDateValue(utc)) / 3600.0 : 0.0;
    };
}

void EndProgram() {
    ending = true;
    if (QCoreApplication::instance()) QCoreApplication::exit(0);
    throw EndProgramRequest{};
}

bool ProgramEnding() { return ending; }

void ResetProgramEnding() { ending = false; }

void Run(const std::function<void()>& handler) noexcept {
    ClearVectorUpperHalves();
    try {
        handler();
    } catch (const EndProgramRequest&) {
        if (QCoreApplication::instance()) QCoreApplication::exit(0);
    } catch (const std::exception& e) {
        try {
            MsgBox(std::string("The operation could not be completed:\n") + e.what(), kOkOnly | kExclamation);
        } catch (...) {
        }
    } catch (...) {
    }
}

void UseLocale(const std::string& name) {
    QLocale loc(QString::fromStdString(name));
    engine::LocaleFacts f;
    bool c = loc.language() == QLocale::C;
    if (!c) {
        f.decimalSeparator = loc.decimalPoint().toStdString();
        f.groupSeparator = loc.groupSeparator().toStdString();
        for (int m = 1; m <= 12; ++m) {
            f.monthNames[m - 1] = loc.monthName(m, QLocale::LongFormat).toStdString();
            f.monthAbbrevs[m - 1] = loc.monthName(m, QLocale::ShortFormat).toStdString();
        }
        for (int d = 0; d < 7; ++d) {
            int qtDay = d == 0 ? 7 : d;  // Qt counts Monday = 1 ... Sunday = 7
            f.dayNames[d] = loc.dayName(qtDay, QLocale::LongFormat).toStdString();
            f.dayAbbrevs[d] = loc.dayName(qtDay, QLocale::ShortFormat).toStdString();
        }
        f.shortDatePattern = loc.dateFormat(QLocale::ShortFormat).toStdString();
        f.dateSeparator = "";
        for (QChar ch : loc.dateFormat(QLocale::ShortFormat))
            if (!ch.isLetter()) {
                f.dateSeparator = QString(ch).toStdString();
                break;
            }
    } else {
        // The C and POSIX locales: English names, "." decimal point, no short-date pattern.
        f.shortDatePattern = "";
        f.dateSeparator = "/";
    }
    engine::Env().locale = f;
}

void ClearVectorUpperHalves() {
#ifdef TIDEWYN_VZEROUPPER
    if (__builtin_cpu_supports("avx")) zeroUpperHalves();
#endif
}

void InitEnvironment() {
    auto& env = engine::Env();
    UseLocale(QLocale::system().name() == "C" ? "C" : QLocale::system().name().toStdString());
    env.utcNow = [] { return dateValueOf(QDateTime::currentDateTimeUtc()); };
    env.localOffsetHours = ZoneOffsetHours("");
    env.documentsFolder = folderOrHome(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    env.localAppDataFolder =
        folderOrHome(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    env.programFolder = QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace platform
