// CObject: the root of the framework's classes, with run-time class names.
#ifndef TETHRA_FW_OBJECT_H
#define TETHRA_FW_OBJECT_H

#include <cstring>

struct CRuntimeClass {
    const char* m_lpszClassName;
    const CRuntimeClass* m_pBaseClass;

    bool IsDerivedFrom(const CRuntimeClass* base) const
    {
        for (const CRuntimeClass* c = this; c != nullptr; c = c->m_pBaseClass) {
            if (c == base)
                return true;
        }
        return false;
    }
};

class CObject {
public:
    static const CRuntimeClass classCObject;

    virtual const CRuntimeClass* GetRuntimeClass() const { return &classCObject; }
    virtual ~CObject() = default;

    bool IsKindOf(const CRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }

protected:
    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

inline const CRuntimeClass CObject::classCObject = {"CObject", nullptr};

#endif
