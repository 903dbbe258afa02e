#include "FindQuery.h"

#include "FoldedText.h"
#include "model/InlineSyntax.h"

namespace furrow {

FindQuery FindQuery::parse(const QString &text)
{
    const InlineSyntax::Parsed parsed = InlineSyntax::parse(InlineSyntax::oneLine(text));
    FindQuery query;
    query.words = FoldedText::queryWords(parsed.title);
    query.projectToken = parsed.projectToken;
    return query;
}

} // namespace furrow
