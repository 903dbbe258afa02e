#include "VectorStore.h"

#include "TextUnits.h"
#include "UserDefaults.h"

namespace furrow {

namespace {

QString key(int slot, const char *field)
{
    return QStringLiteral("vectors.%1.%2").arg(slot).arg(QLatin1StringView(field));
}

// A value that is missing or not text reads as the empty text.
QString textValue(const QSettings &defaults, const QString &key)
{
    const QVariant value = defaults.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

} // namespace

VectorStore::VectorStore(QObject *parent)
    : QObject(parent)
    , m_defaults(UserDefaults::open())
{
    for (int slot = 0; slot < kCount; ++slot)
        m_vectors[size_t(slot)] = {slot, textValue(*m_defaults, key(slot, "name")),
                                   textValue(*m_defaults, key(slot, "statement"))};
}

VectorStore::~VectorStore() = default;

VectorStore &VectorStore::shared()
{
    static VectorStore store;
    return store;
}

std::vector<Vector> VectorStore::visible() const
{
    std::vector<Vector> result;
    for (const Vector &vector : m_vectors) {
        if (!vector.name.trimmed().isEmpty())
            result.push_back(vector);
    }
    return result;
}

void VectorStore::set(const QString &name, const QString &statement, int slot)
{
    if (slot < 0 || slot >= kCount)
        return;
    Vector &vector = m_vectors[size_t(slot)];
    vector = {slot, TextUnits::leftCharacters(name, kNameLimit),
              TextUnits::leftCharacters(statement, kStatementLimit)};
    Q_EMIT vectorsChanged();
    m_defaults->setValue(key(slot, "name"), vector.name);
    m_defaults->setValue(key(slot, "statement"), vector.statement);
    m_defaults->sync();
}

} // namespace furrow
