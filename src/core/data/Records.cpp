#include "core/data/Records.h"

#include <QDate>

namespace gf {

QString KindTag(int kind)
{
    switch (kind) {
    case rkTel:
        return QStringLiteral("TS");
    case rkMemo:
        return QStringLiteral("BS");
    case rkWort:
        return QStringLiteral("WS");
    case rkBild:
        return QStringLiteral("BK");
    }
    return {};
}

tUser::tUser() : RegDate(SerialDate::fromDate(QDate::currentDate())) {}

QStringList& tUser::Files(int kind)
{
    return const_cast<QStringList&>(std::as_const(*this).Files(kind));
}

const QStringList& tUser::Files(int kind) const
{
    switch (kind) {
    case rkTel:
        return TelFiles;
    case rkMemo:
        return MemoFiles;
    case rkWort:
        return WortFiles;
    default:
        Q_ASSERT(kind == rkBild);
        return BildFiles;
    }
}

QString& tUser::SumFile(int kind)
{
    return const_cast<QString&>(std::as_const(*this).SumFile(kind));
}

const QString& tUser::SumFile(int kind) const
{
    switch (kind) {
    case rkTel:
        return TelSumFile;
    case rkMemo:
        return MemoSumFile;
    case rkWort:
        return WortSumFile;
    default:
        Q_ASSERT(kind == rkBild);
        return BildSumFile;
    }
}

} // namespace gf
