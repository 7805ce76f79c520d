#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/Geometry.h"

namespace Quorl {

class MControl;
class MObject;

// Builds one class from the factories' common arguments.
using ControlMaker = MControl* (*)(MObject* parent, UINT id, CRect rect, const wchar_t* text,
                                   int flag1, int flag2);

// The four constructor shapes of the toolkit's classes.
template <typename T>
MControl* MakeTitledControl(MObject* p, UINT id, CRect r, const wchar_t* text, int f1, int f2) {
    return new T(p, id, r, text, f1, f2);
}
template <typename T>
MControl* MakeTwoFlagControl(MObject* p, UINT id, CRect r, const wchar_t*, int f1, int f2) {
    return new T(p, id, r, f1, f2);
}
template <typename T>
MControl* MakeOneFlagControl(MObject* p, UINT id, CRect r, const wchar_t*, int f1, int) {
    return new T(p, id, r, f1);
}
// MText: a title and visibility; it is created disabled.
template <typename T>
MControl* MakeTextControl(MObject* p, UINT id, CRect r, const wchar_t* text, int f1, int) {
    return new T(p, id, r, text, f1);
}

// The class names a factory knows, in the order they are tried, and the classes built so far.
// A listed name without a class yet creates nothing. Classes are added in one place,
// RegisterToolkitControls (ControlClasses.cpp).
class ControlRegistry {
public:
    // The window-level factory (PaintManager::CreateControl), 41 names.
    static ControlRegistry& Window();
    // The container factory (MPanel::CreateControl), 52 names.
    static ControlRegistry& Container();

    const std::vector<const wchar_t*>& Names() const { return m_names; }
    bool IsListed(const wchar_t* name) const;
    // False, and nothing registered, for a name the factory does not list.
    bool Register(const wchar_t* name, ControlMaker maker);
    // Null for a null, empty, unlisted or not yet built class (exact, case-sensitive).
    ControlMaker Find(const wchar_t* name) const;
    // A new control, or null as above; it is in no list yet.
    MControl* Make(const wchar_t* name, MObject* parent, UINT id, CRect rect, const wchar_t* text,
                   int flag1, int flag2) const;

private:
    explicit ControlRegistry(std::vector<const wchar_t*> names);
    static ControlRegistry& WindowTable();
    static ControlRegistry& ContainerTable();
    static void EnsureRegistered();

    std::vector<const wchar_t*> m_names;
    mutable std::mutex m_lock;
    std::map<std::wstring, ControlMaker> m_makers;
};

// Adds every class built so far to the two factories. Each control's own change adds its
// line here.
void RegisterToolkitControls(ControlRegistry& window, ControlRegistry& container);

}  // namespace Quorl
