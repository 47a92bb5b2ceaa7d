#include "app/procedure_table.h"

#include <map>

#include "app/standard_messages.h"

namespace rk {
namespace {

constexpr MenuProcedure kMenuProcedures[] = {
    {-6, "BROWSEHTAPES", kBrowseStack},        {-7, "BROWSEITEMS", kBrowseStack},
    {-9, "BROWSEVIDEOS", kBrowseStack},        {-10, "BROWSECAST", kBrowseStack},
    {-12, "TREEBROWSEHOME", kSmallStack},      {-13, "TREEBROWSECOMMERCIAL", kSmallStack},
    {-15, "BROWSESUBJECT", kBrowseStack},      {-16, "BROWSEMANUFACTURER", kBrowseStack},
    {-19, "PRINTHTA:SERIAL_NO", kBrowseStack}, {-20, "PRINTHTA:DESCRIPTION", kBrowseStack},
    {-22, "PRINTITE:SERIAL_NO", kBrowseStack}, {-24, "PRINTVID:SERIALN", kBrowseStack},
    {-26, "PRINTCAS:SERIALN", kBrowseStack},   {-33, "ABOUT", kSmallStack},
};

std::map<std::string, ProcedureBody, std::less<>>& Registered() {
  static auto* procedures = new std::map<std::string, ProcedureBody, std::less<>>;
  return *procedures;
}

}  // namespace

const MenuProcedure* MenuProcedureOf(int32_t item) {
  for (const MenuProcedure& procedure : kMenuProcedures) {
    if (procedure.item == item) return &procedure;
  }
  return nullptr;
}

void RegisterProcedure(std::string_view name, ProcedureBody body) {
  Registered().insert_or_assign(std::string(name), std::move(body));
}

ProcedureBody ProcedureNamed(std::string_view name) {
  auto found = Registered().find(name);
  if (found != Registered().end() && found->second) return found->second;
  return [missing = std::string(name)] { SHOWMESSAGE(6, missing); };
}

}  // namespace rk
