#include "scanner/List.h"

#include <cassert>

namespace Lex {

ListElement::~ListElement()
{
    if (m_list)
        m_list->remove(*this);
}

List::List(List const& src) : m_first(nullptr), m_last(nullptr)
{
    *this += src;
}

List& List::operator=(List const& src)
{
    if (this != &src) {
        clear();
        *this += src;
    }
    return *this;
}

List::~List()
{
    clear();
}

void List::link(ListElement* prev, ListElement& e)
{
    assert(!e.m_list && "element is still in a list");
    if (prev == &e)
        return;
    if (e.m_list)
        e.m_list->remove(e);
    splice(prev, &e, &e);
}

// Links the chain first..last (whose inner links are intact) after prev, or
// at the front when prev is null, and makes this list its owner.
void List::splice(ListElement* prev, ListElement* first, ListElement* last)
{
    ListElement* next = prev ? prev->m_next : m_first;
    first->m_prev = prev;
    last->m_next = next;
    if (prev)
        prev->m_next = first;
    else
        m_first = first;
    if (next)
        next->m_prev = last;
    else
        m_last = last;
    for (ListElement* e = first;; e = e->m_next) {
        e->m_list = this;
        if (e == last)
            break;
    }
}

void List::insert(ListElement& pos, ListElement& e)
{
    assert(pos.m_list == this && "position is not in this list");
    if (pos.m_list != this)
        return;
    link(&pos, e);
}

void List::prepend(ListElement& e)
{
    link(nullptr, e);
}

void List::append(ListElement& e)
{
    link(m_last, e);
}

void List::remove(ListElement& e)
{
    if (e.m_list != this)
        return;
    if (e.m_prev)
        e.m_prev->m_next = e.m_next;
    else
        m_first = e.m_next;
    if (e.m_next)
        e.m_next->m_prev = e.m_prev;
    else
        m_last = e.m_prev;
    e.m_list = nullptr;
    e.m_next = nullptr;
    e.m_prev = nullptr;
}

void List::clear()
{
    ListElement* e = m_first;
    m_first = m_last = nullptr;
    while (e) {
        ListElement* next = e->m_next;
        e->m_list = nullptr;
        e->m_next = nullptr;
        e->m_prev = nullptr;
        delete e;
        e = next;
    }
}

List* List::copy(ListElement* from, ListElement* to) const
{
    List* result = new List;
    if (from && from->m_list != this)
        return result;
    for (ListElement* e = from ? from : m_first; e; e = e->m_next) {
        result->append(*e->duplicate());
        if (e == to)
            break;
    }
    return result;
}

void List::cut(List& dest, ListElement* from, ListElement* to)
{
    if (!from || from->m_list != this)
        return;
    ListElement* last = from;
    if (to)
        while (last != to && last->m_next)
            last = last->m_next;

    // Detach from..last from this list, then hang it behind dest's last.
    if (from->m_prev)
        from->m_prev->m_next = last->m_next;
    else
        m_first = last->m_next;
    if (last->m_next)
        last->m_next->m_prev = from->m_prev;
    else
        m_last = from->m_prev;
    from->m_prev = nullptr;
    last->m_next = nullptr;
    dest.splice(dest.m_last, from, last);
}

void List::take_all(ListElement* prev, List& src)
{
    if (&src == this || !src.m_first)
        return;
    ListElement* first = src.m_first;
    ListElement* last = src.m_last;
    src.m_first = src.m_last = nullptr;
    splice(prev, first, last);
}

void List::move(ListElement& pos, List& src)
{
    assert(pos.m_list == this && "position is not in this list");
    if (pos.m_list == this)
        take_all(&pos, src);
}

void List::move_before(ListElement& pos, List& src)
{
    assert(pos.m_list == this && "position is not in this list");
    if (pos.m_list == this)
        take_all(pos.m_prev, src);
}

void List::paste(ListElement& pos, List const& src)
{
    List* dup = src.copy();
    move(pos, *dup);
    delete dup;
}

void List::paste_before(ListElement& pos, List const& src)
{
    List* dup = src.copy();
    move_before(pos, *dup);
    delete dup;
}

List& List::operator+=(List const& src)
{
    List* dup = src.copy();
    take_all(m_last, *dup);
    delete dup;
    return *this;
}

List List::operator+(List const& src) const
{
    List result(*this);
    result += src;
    return result;
}

} // namespace Lex
