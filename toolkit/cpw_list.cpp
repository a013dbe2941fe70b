// Id-keyed singly linked lists of the toolkit.
#include "toolkit/cpw_list.h"

#include <cstdlib>

namespace {

// Drops the element's string value, if it holds one.
void release_value(pLinkedElement e) {
  if (e->etype == Element_pStr) freeStr(&e->e.s);
  e->etype = Element_Empty;
  e->e.v = nullptr;
}

std::uint32_t append(pLinkedList list, pLinkedElement e) {
  if (!list->baseElement)
    list->baseElement = e;
  else
    le_linkUp(list->baseElement, e);
  e->id = list->idcount++;
  return e->id;
}

}  // namespace

// ---- elements ------------------------------------------------------------

pLinkedElement le_createElement() { return static_cast<pLinkedElement>(std::calloc(1, sizeof(LinkedElement))); }

void le_initVoid(pLinkedElement e, void* v) {
  if (!e) return;
  release_value(e);
  e->e.v = v;
  e->etype = Element_Void;
}

void le_initInt32(pLinkedElement e, std::int32_t v) {
  if (!e) return;
  release_value(e);
  e->e.i = v;
  e->etype = Element_Int32;
}

void le_initFloat64(pLinkedElement e, double v) {
  if (!e) return;
  release_value(e);
  e->e.f = v;
  e->etype = Element_Float64;
}

int le_initString(pLinkedElement e, const char* text) {
  if (!e || !text) return 0;
  pStr s = cpyString(text);
  if (!s) return 0;
  release_value(e);
  e->e.s = s;
  e->etype = Element_pStr;
  return 1;
}

int le_initStr(pLinkedElement e, pStr from) {
  if (!e || !from) return 0;
  pStr s = strCpy(from);
  if (!s) return 0;
  release_value(e);
  e->e.s = s;
  e->etype = Element_pStr;
  return 1;
}

void le_freeElement(pLinkedElement* e) {
  if (!e || !*e) return;
  release_value(*e);
  std::free(*e);
  *e = nullptr;
}

LinkedElementType le_getType(pLinkedElement e) { return e ? e->etype : Element_Empty; }
void* le_getVoid(pLinkedElement e) { return e && e->etype == Element_Void ? e->e.v : nullptr; }
std::int32_t le_getInt32(pLinkedElement e) { return e && e->etype == Element_Int32 ? e->e.i : 0; }
double le_getFloat64(pLinkedElement e) { return e && e->etype == Element_Float64 ? e->e.f : 0.0; }
pStr le_getString(pLinkedElement e) { return e && e->etype == Element_pStr ? e->e.s : nullptr; }
std::uint32_t le_getId(pLinkedElement e) { return e ? e->id : 0; }

void le_setId(pLinkedElement e, std::uint32_t id) {
  if (e) e->id = id;
}

void le_setVoid(pLinkedElement e, void* v) { le_initVoid(e, v); }

pLinkedElement le_seek(pLinkedElement first, std::uint32_t id) {
  for (pLinkedElement e = first; e; e = e->childtomyright)
    if (e->id == id) return e;
  return nullptr;
}

pLinkedElement le_lastOne(pLinkedElement first) {
  if (!first) return nullptr;
  while (first->childtomyright) first = first->childtomyright;
  return first;
}

void le_linkUp(pLinkedElement first, pLinkedElement e) {
  if (!first || !e) return;
  e->childtomyright = nullptr;
  le_lastOne(first)->childtomyright = e;
}

pLinkedElement le_unLink(pLinkedElement* first, std::uint32_t id) {
  if (!first) return nullptr;
  for (pLinkedElement* link = first; *link; link = &(*link)->childtomyright) {
    if ((*link)->id != id) continue;
    pLinkedElement e = *link;
    *link = e->childtomyright;
    e->childtomyright = nullptr;
    return e;
  }
  return nullptr;
}

std::uint32_t le_countUp(pLinkedElement first) {
  std::uint32_t n = 0;
  for (; first; first = first->childtomyright) ++n;
  return n;
}

std::uint32_t le_cleanUp(pLinkedElement first) {
  std::uint32_t n = 0;
  while (first) {
    pLinkedElement next = first->childtomyright;
    le_freeElement(&first);
    first = next;
    ++n;
  }
  return n;
}

void le_initIterate(pLinkedElement first) {
  for (; first; first = first->childtomyright) first->iterate = false;
}

pLinkedElement le_getNext(pLinkedElement first) {
  for (; first; first = first->childtomyright) {
    if (first->iterate) continue;
    first->iterate = true;
    return first;
  }
  return nullptr;
}

// ---- lists ---------------------------------------------------------------

void ll_initList(pLinkedList list) {
  if (!list) return;
  list->idcount = 1;
  list->baseElement = nullptr;
}

pLinkedList ll_createList() {
  pLinkedList list = static_cast<pLinkedList>(std::calloc(1, sizeof(LinkedListData)));
  ll_initList(list);
  return list;
}

void ll_freeList(pLinkedList* list) {
  if (!list || !*list) return;
  ll_deleteList(*list);
  std::free(*list);
  *list = nullptr;
}

std::uint32_t ll_addVoid(pLinkedList list, void* v) {
  if (!list) return 0;
  pLinkedElement e = le_createElement();
  if (!e) return 0;
  le_initVoid(e, v);
  return append(list, e);
}

std::uint32_t ll_addInt32(pLinkedList list, std::int32_t v) {
  if (!list) return 0;
  pLinkedElement e = le_createElement();
  if (!e) return 0;
  le_initInt32(e, v);
  return append(list, e);
}

std::uint32_t ll_addFloat64(pLinkedList list, double v) {
  if (!list) return 0;
  pLinkedElement e = le_createElement();
  if (!e) return 0;
  le_initFloat64(e, v);
  return append(list, e);
}

std::uint32_t ll_addString(pLinkedList list, const char* text) {
  if (!list || !text) return 0;
  pLinkedElement e = le_createElement();
  if (!e) return 0;
  if (!le_initString(e, text)) {
    le_freeElement(&e);
    return 0;
  }
  return append(list, e);
}

std::uint32_t ll_addStr(pLinkedList list, pStr s) {
  if (!list || !s) return 0;
  pLinkedElement e = le_createElement();
  if (!e) return 0;
  if (!le_initStr(e, s)) {
    le_freeElement(&e);
    return 0;
  }
  return append(list, e);
}

int ll_getVoid(pLinkedList list, void** result, std::uint32_t id) {
  if (!list || !list->baseElement || !result) return 0;
  *result = le_getVoid(le_seek(list->baseElement, id));
  return 1;
}

int ll_getString(pLinkedList list, pStr* result, std::uint32_t id) {
  if (!list || !list->baseElement || !result) return 0;
  pStr s = le_getString(le_seek(list->baseElement, id));
  *result = s ? strCpy(s) : nullptr;
  return 1;
}

int ll_setVoid(pLinkedList list, std::uint32_t id, void* v) {
  if (!list) return 0;
  pLinkedElement e = le_seek(list->baseElement, id);
  if (!e) return 0;
  le_initVoid(e, v);
  return 1;
}

pLinkedElement ll_getElement(pLinkedList list, std::uint32_t id) { return list ? le_seek(list->baseElement, id) : nullptr; }

int ll_deleteElement(pLinkedList list, std::uint32_t id) {
  if (!list) return 0;
  pLinkedElement e = le_unLink(&list->baseElement, id);
  if (!e) return 0;
  le_freeElement(&e);
  return 1;
}

std::uint32_t ll_deleteList(pLinkedList list) {
  if (!list) return 0;
  std::uint32_t n = le_cleanUp(list->baseElement);
  ll_initList(list);
  return n;
}

std::uint32_t ll_getLength(pLinkedList list) { return list ? le_countUp(list->baseElement) : 0; }

int ll_initIterate(pLinkedList list) {
  if (!list || !list->baseElement) return 0;
  le_initIterate(list->baseElement);
  return 1;
}

pLinkedElement ll_getNext(pLinkedList list) { return list ? le_getNext(list->baseElement) : nullptr; }

namespace {
// Detaches the last element of a non-empty list.
pLinkedElement pop_last(pLinkedList list) {
  if (!list || !list->baseElement) return nullptr;
  return le_unLink(&list->baseElement, le_lastOne(list->baseElement)->id);
}
}  // namespace

int ll_popString(pLinkedList list, pStr* result) {
  if (!result) return 0;
  pLinkedElement e = pop_last(list);
  if (!e) return 0;
  *result = le_getString(e);
  e->etype = Element_Empty;  // the string now belongs to the caller
  le_freeElement(&e);
  return 1;
}

int ll_popFloat64(pLinkedList list, double* result) {
  if (!result) return 0;
  pLinkedElement e = pop_last(list);
  if (!e) return 0;
  *result = le_getFloat64(e);
  le_freeElement(&e);
  return 1;
}

int ll_popInt32(pLinkedList list, std::int32_t* result) {
  if (!result) return 0;
  pLinkedElement e = pop_last(list);
  if (!e) return 0;
  *result = le_getInt32(e);
  le_freeElement(&e);
  return 1;
}

int ll_flipList(pLinkedList* list) {
  if (!list || !*list || !(*list)->baseElement) return 0;
  pLinkedList flipped = ll_createList();
  if (!flipped) return 0;
  // Moving the elements (rather than copying the values) keeps strings and
  // pointers as they are and cannot fail half-way.
  while (pLinkedElement e = pop_last(*list)) append(flipped, e);
  ll_freeList(list);
  *list = flipped;
  return 1;
}

std::uint32_t ll_linkUp(pLinkedList list, pLinkedElement e) {
  if (!list || !e) return 0;
  return append(list, e);
}

pLinkedElement ll_unLink(pLinkedList list, std::uint32_t id) { return list ? le_unLink(&list->baseElement, id) : nullptr; }
