// Intrusive doubly linked lists. An element knows the list it is in; a list
// owns its elements and deletes them when it is cleared or destroyed.
#pragma once

namespace Lex {

class List;

class ListElement {
public:
    ListElement() : m_list(nullptr), m_next(nullptr), m_prev(nullptr) {}
    // A copy is in no list.
    ListElement(ListElement const&) : m_list(nullptr), m_next(nullptr), m_prev(nullptr) {}
    ListElement& operator=(ListElement const&) { return *this; }
    // An element destroyed while still linked leaves its list first.
    virtual ~ListElement();

    // A new element of the same kind that is in no list.
    virtual ListElement* duplicate() const = 0;

    List* list() const { return m_list; }
    ListElement* next() const { return m_next; }
    ListElement* prev() const { return m_prev; }

private:
    friend class List;

    List* m_list;
    ListElement* m_next;
    ListElement* m_prev;
};

class List {
public:
    List() : m_first(nullptr), m_last(nullptr) {}
    List(List const& src);            // duplicates of src's elements
    List& operator=(List const& src); // drops own elements, then duplicates src's
    ~List();

    ListElement* first() const { return m_first; }
    ListElement* last() const { return m_last; }
    bool empty() const { return m_first == nullptr; }

    // Linking operations. The element must not be in a list (asserted in
    // debug builds); otherwise it first leaves the list it is in. The
    // pointer forms ignore null.
    void insert(ListElement& pos, ListElement& e); // right after pos
    void insert(ListElement* pos, ListElement* e) { if (pos && e) insert(*pos, *e); }
    void prepend(ListElement& e);
    void prepend(ListElement* e) { if (e) prepend(*e); }
    void append(ListElement& e);
    void append(ListElement* e) { if (e) append(*e); }

    // Unlinks e without freeing it; nothing happens when e is not in this list.
    void remove(ListElement& e);
    void remove(ListElement* e) { if (e) remove(*e); }

    // Deletes every element.
    void clear();

    // A new list of duplicates from `from` (the first when null) through
    // `to` (the end when null or not met).
    List* copy(ListElement* from = nullptr, ListElement* to = nullptr) const;
    // Moves `from` through `to` (only `from` when `to` is null; the end of
    // the list when `to` does not follow `from`) to the end of dest.
    void cut(List& dest, ListElement* from, ListElement* to);
    // Moves all elements of src, in order, behind / in front of pos.
    void move(ListElement& pos, List& src);
    void move_before(ListElement& pos, List& src);
    // As move / move_before, with duplicates; src is unchanged.
    void paste(ListElement& pos, List const& src);
    void paste_before(ListElement& pos, List const& src);

    List& operator+=(List const& src); // appends duplicates of src's elements
    List operator+(List const& src) const;

private:
    void link(ListElement* prev, ListElement& e);                  // after prev, or at the front
    void splice(ListElement* prev, ListElement* first, ListElement* last); // chain after prev
    void take_all(ListElement* prev, List& src);

    ListElement* m_first;
    ListElement* m_last;
};

} // namespace Lex
