qloom_gtest(model_tests
    ${CMAKE_CURRENT_LIST_DIR}/MenuTableTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ConversionsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AccessibilityCheckTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ProjectEditTest.cpp)
