#pragma once

#include <string>
#include <vector>

class CFieldGroup;
class CFieldGroupList;
class CMarnelPropertySheet;
struct SSvidNames;

// Why a list of PDOs or SVIDs, or the modes of one SVID, is not complete: one report line per
// failing list, "<list>: list incomplete: <reasons>".
class CListDiagnosis {
public:
    // The lines for a tab's list: the list itself and, for SVIDs, the modes of each SVID.
    static std::vector<std::wstring> Of(const CMarnelPropertySheet& sheet, const CFieldGroupList& list);

private:
    static std::wstring ListLine(const CMarnelPropertySheet& sheet, const CFieldGroupList& list);
    static std::wstring ModesLine(const SSvidNames& names, const CFieldGroup& svid);
    // "2 defined but Num_Src_PDOs is 3", or "Num_Src_PDOs is not answered"; empty when they agree.
    static std::wstring CountReason(std::size_t defined, const std::wstring& countName, long long count);
    static std::wstring Join(const std::vector<std::wstring>& reasons);
};
