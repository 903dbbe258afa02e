#include "SealedEnvelope.h"

#include <algorithm>

namespace furrow {

namespace {

const QString kKind = QStringLiteral("envelope.kind");
const QString kId = QStringLiteral("envelope.id");
const QString kUpdatedAt = QStringLiteral("envelope.updatedAt");
const QString kDeleted = QStringLiteral("envelope.deleted");

bool matches(const SyncValue &value, const SyncValue &expected, const QString &member)
{
    // Identifiers parse in either letter case, so a server that changes the case of one still
    // names the same object.
    if (member == kId && value.isText() && expected.isText())
        return value.asText().compare(expected.asText(), Qt::CaseInsensitive) == 0;
    return value == expected;
}

} // namespace

namespace SealedEnvelope {

SyncBody bind(const SyncRecord &record)
{
    SyncBody body = record.body;
    body[kKind] = SyncValue::text(record.kind);
    body[kId] = SyncValue::text(record.id);
    body[kUpdatedAt] = SyncValue::number(record.updatedAt);
    body[kDeleted] = SyncValue::flag(record.deleted);
    return body;
}

std::optional<SyncBody> unbind(const SyncRecord &record, SyncBody opened)
{
    const SyncBody expected = bind({record.kind, record.id, record.updatedAt, record.deleted, {}});
    const auto carried = std::ranges::count_if(
        expected, [&](const auto &member) { return opened.contains(member.first); });
    if (carried == 0)
        return opened;
    if (carried != qsizetype(expected.size()))
        return std::nullopt;
    for (const auto &[member, value] : expected) {
        if (!matches(opened.at(member), value, member))
            return std::nullopt;
        opened.erase(member);
    }
    return opened;
}

} // namespace SealedEnvelope
} // namespace furrow
