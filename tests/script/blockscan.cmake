qloom_gtest(block_scan_tests ${CMAKE_CURRENT_LIST_DIR}/BlockScanTest.cpp)
