#pragma once

#include "FindCandidate.h"
#include "FindQuery.h"
#include "FindResult.h"

#include "model/VectorStore.h"

namespace furrow {

// Turns ranked candidates into results: the texts a row shows, the emphasised words and the
// snippet around a note match.
namespace FindResults {

// Characters of a snippet before the match, and at most in all.
constexpr qsizetype kSnippetLead = 24;
constexpr qsizetype kSnippetLength = 80;

std::vector<FindResult> build(const std::vector<FindCandidate> &candidates, const FindQuery &query,
                              const std::vector<Vector> &goals);

// One line of `text` around the first match of the words, with the ranges of the matches
// inside that line; empty when nothing matches.
QString snippet(const QString &text, const std::vector<QString> &words,
                std::vector<FindResult::Range> *ranges);

} // namespace FindResults
} // namespace furrow
