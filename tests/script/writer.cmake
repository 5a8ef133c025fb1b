qloom_gtest(writer_tests ${CMAKE_CURRENT_LIST_DIR}/WriterTest.cpp)
