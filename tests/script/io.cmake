qloom_gtest(script_io_tests
    SaverTest.cpp ReaderTest.cpp FixtureTest.cpp RoundTripTest.cpp LineEndsTest.cpp)
