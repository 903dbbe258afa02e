#pragma once

// The body of Record::assign(). Included by the record sources only: it needs the whole of
// ModelContext, which in turn needs the record types.

#include "ModelContext.h"

#include <type_traits>
#include <utility>

namespace furrow {

template<class Self, class T>
void Record::assign(T Self::*field, T value)
{
    auto *self = static_cast<Self *>(this);
    if (self->*field == value)
        return;
    T previous = std::exchange(self->*field, std::move(value));
    if (!m_context)
        return;
    m_context->noteFieldChange(*this, [&] {
        auto row = std::static_pointer_cast<Self>(shared_from_this());
        // A reverted reference must not point at a row that was freed meanwhile, so the
        // reversal keeps the previously referenced row alive.
        std::shared_ptr<const Record> referenced;
        if constexpr (std::is_pointer_v<T>) {
            if (previous)
                referenced = previous->shared_from_this();
        }
        return [row, field, previous, referenced] {
            // A reference is restored only to a row that is still beside this one, so no
            // replay can leave a reference to a row outside the context.
            if (referenced && referenced->context() != row->context())
                return;
            row->assign(field, previous);
        };
    });
}

} // namespace furrow
