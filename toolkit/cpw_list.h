// Id-keyed singly linked lists of the toolkit (windows, timers, ...).
//
// A list hands out ids 1, 2, 3, ... to the elements it adds and never reuses
// them until it is emptied by ll_deleteList. It owns its elements and their
// string values, never what an Element_Void value points to. Iteration uses a
// mark in every element, so one iteration per list can be in progress.
#pragma once

#include <cstdint>

#include "toolkit/cpw_str.h"

enum LinkedElementType {
  Element_Empty = 0,
  Element_Float64 = 1,
  Element_Int32 = 2,
  Element_pStr = 3,
  Element_Void = 4,
};

union LinkedElementValue {
  std::int32_t i;
  double f;
  void* v;
  pStr s;
};

struct LinkedElement {
  LinkedElementValue e;
  LinkedElementType etype;
  std::uint32_t id;
  bool iterate;
  LinkedElement* childtomyright;
};
typedef LinkedElement* pLinkedElement;

struct LinkedListData {
  std::uint32_t idcount;
  pLinkedElement baseElement;
};
typedef LinkedListData* pLinkedList;

// ---- elements ------------------------------------------------------------

pLinkedElement le_createElement();
void le_initVoid(pLinkedElement e, void* v);
void le_initInt32(pLinkedElement e, std::int32_t v);
void le_initFloat64(pLinkedElement e, double v);
int le_initString(pLinkedElement e, const char* text);
int le_initStr(pLinkedElement e, pStr s);
void le_freeElement(pLinkedElement* e);
LinkedElementType le_getType(pLinkedElement e);
void* le_getVoid(pLinkedElement e);
std::int32_t le_getInt32(pLinkedElement e);
double le_getFloat64(pLinkedElement e);
pStr le_getString(pLinkedElement e);  // the element's own string, not a copy
std::uint32_t le_getId(pLinkedElement e);
void le_setId(pLinkedElement e, std::uint32_t id);
void le_setVoid(pLinkedElement e, void* v);
pLinkedElement le_seek(pLinkedElement first, std::uint32_t id);
void le_linkUp(pLinkedElement first, pLinkedElement e);       // attach at the end
pLinkedElement le_unLink(pLinkedElement* first, std::uint32_t id);  // detach, not freed
std::uint32_t le_countUp(pLinkedElement first);
std::uint32_t le_cleanUp(pLinkedElement first);  // free it and all after it
void le_initIterate(pLinkedElement first);
pLinkedElement le_getNext(pLinkedElement first);
pLinkedElement le_lastOne(pLinkedElement first);

// ---- lists ---------------------------------------------------------------

void ll_initList(pLinkedList list);
pLinkedList ll_createList();
void ll_freeList(pLinkedList* list);

std::uint32_t ll_addVoid(pLinkedList list, void* v);
std::uint32_t ll_addInt32(pLinkedList list, std::int32_t v);
std::uint32_t ll_addFloat64(pLinkedList list, double v);
std::uint32_t ll_addString(pLinkedList list, const char* text);
std::uint32_t ll_addStr(pLinkedList list, pStr s);

int ll_getVoid(pLinkedList list, void** result, std::uint32_t id);
int ll_getString(pLinkedList list, pStr* result, std::uint32_t id);
int ll_setVoid(pLinkedList list, std::uint32_t id, void* v);
pLinkedElement ll_getElement(pLinkedList list, std::uint32_t id);
int ll_deleteElement(pLinkedList list, std::uint32_t id);
std::uint32_t ll_deleteList(pLinkedList list);
std::uint32_t ll_getLength(pLinkedList list);

int ll_initIterate(pLinkedList list);
pLinkedElement ll_getNext(pLinkedList list);

int ll_popString(pLinkedList list, pStr* result);
int ll_popFloat64(pLinkedList list, double* result);
int ll_popInt32(pLinkedList list, std::int32_t* result);
int ll_flipList(pLinkedList* list);

std::uint32_t ll_linkUp(pLinkedList list, pLinkedElement e);
pLinkedElement ll_unLink(pLinkedList list, std::uint32_t id);
