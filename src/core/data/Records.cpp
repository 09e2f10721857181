#include "core/data/Records.h"

#include <QDate>

namespace gf {

QString kindTag(ExerciseKind kind)
{
    switch (kind) {
    case ExerciseKind::Tel:
        return QStringLiteral("TS");
    case ExerciseKind::Memo:
        return QStringLiteral("BS");
    case ExerciseKind::Wort:
        return QStringLiteral("WS");
    case ExerciseKind::Bild:
        return QStringLiteral("BK");
    }
    return {};
}

tUser::tUser() : RegDate(SerialDate::fromDate(QDate::currentDate())) {}

QStringList& tUser::Files(ExerciseKind kind)
{
    return const_cast<QStringList&>(std::as_const(*this).Files(kind));
}

const QStringList& tUser::Files(ExerciseKind kind) const
{
    switch (kind) {
    case ExerciseKind::Tel:
        return TelFiles;
    case ExerciseKind::Memo:
        return MemoFiles;
    case ExerciseKind::Wort:
        return WortFiles;
    case ExerciseKind::Bild:
        break;
    }
    return BildFiles;
}

QString& tUser::sumFile(ExerciseKind kind)
{
    return const_cast<QString&>(std::as_const(*this).sumFile(kind));
}

const QString& tUser::sumFile(ExerciseKind kind) const
{
    switch (kind) {
    case ExerciseKind::Tel:
        return TelSumFile;
    case ExerciseKind::Memo:
        return MemoSumFile;
    case ExerciseKind::Wort:
        return WortSumFile;
    case ExerciseKind::Bild:
        break;
    }
    return BildSumFile;
}

} // namespace gf
