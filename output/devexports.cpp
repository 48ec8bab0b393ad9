#include "output/devexports.h"

#include "engine/numtext.h"

namespace output {

using engine::CStr;

std::string HWTimesPath(const std::string& folder, const std::string& portName) {
    return folder + "/" + PortFileName(portName) + "-HWTimes.csv";
}

TextFile HWTimesFile(const std::vector<engine::HWYearRow>& rows) {
    TextFile file;
    file.AddLine("id,YearNo,DayNo,Range,FirstHW,SecondHW");
    int id = 1;
    for (const engine::HWYearRow& r : rows)
        file.AddFields({std::to_string(id++), std::to_string(r.YearNo), std::to_string(r.DayNo),
                        CStr(r.Range), CStr(r.FirstHW), CStr(r.SecondHW)},
                       ',');
    return file;
}

std::string FactorsPath(const std::string& folder, int firstYear) {
    return folder + "/" + std::to_string(firstYear) + "Factors.csv";
}

TextFile FactorsFile(const std::vector<engine::FactorsRow>& table, FactorsForm form) {
    TextFile file;
    // Both headers as they have always been, "dfk " with its blank.
    file.AddLine(form == FactorsForm::Indexed
                     ? "id,Julian,Day,Year,ma,mf,sa,sf,ka,kf,oa,of,dam,dfm,das,dfs,dak,dfk ,dao,dfo"
                     : "Julian,Day,Year,ma,mf,sa,sf,ka,kf,oa,of,dAm,dFm,dAs,dfs,dAk,dfk ,dAo,dfo");
    int id = 0;
    for (const engine::FactorsRow& r : table) {
        std::vector<std::string> fields;
        if (form == FactorsForm::Indexed) fields.push_back(std::to_string(id++));
        fields.insert(fields.end(), {CStr(r.Julian), std::to_string(r.Day), std::to_string(r.Year),
                                     CStr(r.ma), CStr(r.mf), CStr(r.sa), CStr(r.sf), CStr(r.ka), CStr(r.kf),
                                     CStr(r.oa), CStr(r.of), CStr(r.dam), CStr(r.dfm), CStr(r.das),
                                     CStr(r.dfs), CStr(r.dak), CStr(r.dfk), CStr(r.dao), CStr(r.dfo)});
        file.AddFields(fields, ',');
    }
    return file;
}

}  // namespace output
