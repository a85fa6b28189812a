// The XML form reading its FORM resource from the program's own module.
#include "forms/CXmlForm.h"

#include "tests/forms/FormsTestIds.h"

#include <gtest/gtest.h>

TEST(CXmlForm, ReadsItsFormResourceWithRisingControlIds) {
    const CXmlForm first(IDR_FORMS_TEST_FORM, IDD_FORMS_TEST_PAGE, nullptr);
    const FormModel& model = first.GetModel();
    ASSERT_EQ(3u, model.Elements().size());
    EXPECT_EQ(1, model.Elements()[1]->separator);
    ASSERT_EQ(2u, model.SortedElements().size());
    const FormElement* element = first.FindElement(1);
    ASSERT_NE(nullptr, element);
    EXPECT_EQ(15396u, element->labelTextId);
    ASSERT_EQ(2u, element->fields.size());
    EXPECT_EQ(50.0, element->fields[0]->Edit()->referenceNumber);
    EXPECT_EQ("%", element->fields[0]->unit);
    const uint32_t lastOfFirst = first.FindElement(2)->fields[0]->controlId;
    EXPECT_GE(element->fields[0]->controlId, 1323u);
    EXPECT_EQ(element->fields[0]->controlId + 2, lastOfFirst);
    // A second form numbers its fields after the first's.
    const CXmlForm second(IDR_FORMS_TEST_FORM, IDD_FORMS_TEST_PAGE, nullptr);
    EXPECT_EQ(lastOfFirst + 1, second.FindElement(1)->fields[0]->controlId);
}

TEST(CXmlForm, MissingResourceGivesAnEmptyForm) {
    const CXmlForm form(IDR_FORMS_TEST_FORM + 1, IDD_FORMS_TEST_PAGE, nullptr);
    EXPECT_TRUE(form.GetModel().Elements().empty());
    EXPECT_EQ(nullptr, form.FindElement(1));
}
