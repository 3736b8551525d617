#pragma once

#include <string>

class CParameterField;

// What a rule may ask of the page that hosts its field: which page it is, the other fields of the
// page and of the whole form, and the cable page's record of a changed product type. The sheet's
// pages implement it.
class IPageContext {
public:
    virtual ~IPageContext() = default;

    // The page's position in the fixed page order.
    virtual int PageIndex() const = 0;
    // A field of this page, or of the whole form, by name pattern or printable name; null when absent.
    virtual CParameterField* PageField(const std::wstring& name) const = 0;
    virtual CParameterField* FormField(const std::wstring& name) const = 0;
    // Set when the user changes the cable's product type; read and cleared by the latency list.
    virtual bool ProductTypeChanged() const = 0;
    virtual void SetProductTypeChanged(bool on) = 0;
};
