#include <gtest/gtest.h>

#include "runtime/windows/binding_order.h"
#include "runtime/windows/variable_binding.h"
#include "tests/windows/sample_definitions.h"

namespace rk {
namespace {

// The numbers (and roles) of the controls that take addresses, in binding order.
std::vector<std::string> BindingSequence(const StructureRecord& s) {
  std::vector<std::string> sequence;
  ForEachBoundDescriptor(s,
                         [&](const DataDescriptor&, const ControlRecord* owner, BindingRole role) {
                           std::string who = owner ? std::to_string(owner->number) : "break";
                           sequence.push_back(role == BindingRole::kFrom ? who + " from" : who);
                         });
  return sequence;
}

TEST(VariableBinding, AddressesFollowChainOrderContainersFirstUseBeforeFrom) {
  Definition d = testing::RichDefinition();
  // Sheet tabs and their controls (the option before its radios, the drop list of
  // fixed choices without a FROM address), then the window's later controls.
  EXPECT_EQ(BindingSequence(d.structures[0]),
            (std::vector<std::string>{"4", "10", "13", "23 from", "20", "20 from", "22", "32", "33",
                                      "34", "36", "30"}));
  EXPECT_EQ(BindingSequence(d.structures[1]), (std::vector<std::string>{"break", "2", "3"}));
}

TEST(VariableBinding, EachDescriptorTakesTheNextAddressWithItsKindOfBinding) {
  StructureRecord form = testing::RichDefinition().structures[0];
  int variables[12] = {};
  void* addresses[13] = {};
  for (int i = 0; i < 12; ++i) addresses[i] = &variables[i];
  ASSERT_TRUE(BindVariables(form, addresses).ok());

  const ControlRecord& general = form.controls[0].children[0];
  EXPECT_EQ(general.children[1].use->binding,
            (VariableBinding{BindingKind::kVariable, &variables[0]}));
  EXPECT_EQ(general.children[2].from->binding.kind, BindingKind::kUnbound);  // fixed choices
  const ControlRecord& contents = form.controls[0].children[1];
  EXPECT_EQ(contents.children[0].from->binding,
            (VariableBinding{BindingKind::kQueue, &variables[3]}));
  EXPECT_EQ(contents.children[1].use->binding.address, &variables[4]);
  EXPECT_EQ(contents.children[1].from->binding.address, &variables[5]);
  EXPECT_EQ(form.controls[7].use->binding.kind, BindingKind::kMember);  // type 24
  EXPECT_EQ(form.controls.back().use->binding.address, &variables[11]);
}

TEST(VariableBinding, AShortListOrAnArrayIsInternalError01) {
  StructureRecord form = testing::RichDefinition().structures[0];
  int variable = 0;
  void* tooFew[] = {&variable, &variable, nullptr};
  BindingOutcome outcome = BindVariables(form, tooFew);
  EXPECT_EQ(outcome.error, 501);
  EXPECT_EQ(outcome.context, "WSLDIAL");

  StructureRecord report = testing::RichDefinition().structures[1];
  report.bands[1].bands[1].controls[0].use->type = 23;
  void* enough[] = {&variable, &variable, &variable, nullptr};
  outcome = BindVariables(report, enough);
  EXPECT_EQ(outcome.error, 501);
  EXPECT_EQ(outcome.context, "CTLUSE");
}

}  // namespace
}  // namespace rk
