#include "oleaut32/safe_array.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(SafeArray, ByteVectorHasItsBoundsAndData) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, 5);
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(SafeArrayGetDim(array), 1u);
  EXPECT_EQ(SafeArrayGetElemsize(array), 1u);
  EXPECT_EQ(array->cbElements, 1u);
  LONG low = -1, high = -1;
  EXPECT_EQ(SafeArrayGetLBound(array, 1, &low), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(array, 1, &high), S_OK);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 4);
  EXPECT_EQ(SafeArrayGetLBound(array, 2, &low), DISP_E_BADINDEX);
  EXPECT_EQ(SafeArrayGetUBound(array, 0, &high), DISP_E_BADINDEX);
  VARTYPE type = 0;
  EXPECT_EQ(SafeArrayGetVartype(array, &type), S_OK);
  EXPECT_EQ(type, VT_UI1);
  EXPECT_TRUE(array->fFeatures & FADF_HAVEVARTYPE);

  void* data = nullptr;
  ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
  EXPECT_EQ(data, array->pvData);
  EXPECT_EQ(static_cast<unsigned char*>(data)[4], 0) << "created zeroed";
  std::memcpy(data, "hello", 5);
  EXPECT_EQ(array->cLocks, 1u);
  EXPECT_EQ(SafeArrayDestroy(array), DISP_E_ARRAYISLOCKED);
  EXPECT_EQ(SafeArrayUnaccessData(array), S_OK);
  EXPECT_EQ(SafeArrayUnaccessData(array), E_UNEXPECTED);
  EXPECT_EQ(SafeArrayDestroy(array), S_OK);
}

TEST(SafeArray, EmptyVectorAndEmptyArguments) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, 0);
  ASSERT_NE(array, nullptr);
  LONG high = 0;
  EXPECT_EQ(SafeArrayGetUBound(array, 1, &high), S_OK);
  EXPECT_EQ(high, -1);
  EXPECT_EQ(SafeArrayDestroy(array), S_OK);
  EXPECT_EQ(SafeArrayDestroy(nullptr), S_OK);
  EXPECT_EQ(SafeArrayCreateVector(VT_EMPTY, 0, 3), nullptr);
  SAFEARRAYBOUND bound = {1, 0};
  EXPECT_EQ(SafeArrayCreate(VT_I4, 0, &bound), nullptr);
}

TEST(SafeArray, BoundsAreStoredLastDimensionFirst) {
  SAFEARRAYBOUND bounds[2] = {{3, 1}, {4, 10}};
  SAFEARRAY* array = SafeArrayCreate(VT_I4, 2, bounds);
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(array->rgsabound[0].cElements, 4u);
  EXPECT_EQ(array->rgsabound[1].cElements, 3u);
  LONG low = 0, high = 0;
  SafeArrayGetLBound(array, 1, &low);
  SafeArrayGetUBound(array, 1, &high);
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 3);
  SafeArrayGetLBound(array, 2, &low);
  SafeArrayGetUBound(array, 2, &high);
  EXPECT_EQ(low, 10);
  EXPECT_EQ(high, 13);
  SafeArrayDestroy(array);
}

TEST(SafeArray, OwnsAndCopiesItsStrings) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, 2);
  ASSERT_NE(array, nullptr);
  EXPECT_TRUE(array->fFeatures & FADF_BSTR);
  auto* items = static_cast<BSTR*>(array->pvData);
  items[0] = SysAllocString(u"one");
  items[1] = SysAllocString(u"two");
  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(SafeArrayCopy(array, &copy), S_OK);
  auto* copied = static_cast<BSTR*>(copy->pvData);
  EXPECT_NE(copied[0], items[0]);
  EXPECT_EQ(std::u16string(copied[1]), u"two");
  // Both free their own strings; the leak checker of the sanitizer build
  // and its double-free detection watch this.
  EXPECT_EQ(SafeArrayDestroy(array), S_OK);
  EXPECT_EQ(SafeArrayDestroy(copy), S_OK);
}

} // namespace
