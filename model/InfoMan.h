// The owner of the project tree's root, and the searches for operations, structures, classes
// and types as seen from a node.
#pragma once

#include "model/Info.h"

class COperInfo;
class CStructInfo;
class CClassInfo;
class CTypeInfo;

class CInfoMan : public CObject {
 public:
  CInfoMan();
  CInfoMan(const CInfoMan&) = delete;
  CInfoMan& operator=(const CInfoMan&) = delete;

  // Depth first, in order, below node: a child of the wanted class is a hit when its name
  // matches (and is not entered either way); project containers and units are entered.
  COperInfo* FindOper(const CInfo* node, const CStr& name) const;  // also enters DLLs
  CStructInfo* FindStruct(const CInfo* node, const CStr& name) const;
  CClassInfo* FindClass(const CInfo* node, const CStr& name) const;
  CTypeInfo* FindType(const CInfo* node, const CStr& name) const;

  // The same below each ancestor of node, innermost first; the node itself is not searched.
  // Only the operation search ends with a search below Root.
  COperInfo* FindOperInScope(const CInfo* node, const CStr& name) const;
  CStructInfo* FindStructInScope(const CInfo* node, const CStr& name) const;
  CClassInfo* FindClassInScope(const CInfo* node, const CStr& name) const;
  CTypeInfo* FindTypeInScope(const CInfo* node, const CStr& name) const;

  CInfo Root;  // its children are the top-level nodes; saved as the configuration
};
