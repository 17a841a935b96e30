file(GLOB TESVID_SOLVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
target_sources(tesvid_core PRIVATE ${TESVID_SOLVER_SOURCES})

# The relaxation must give the same bits as a plain transcription of the algorithm: no fused
# multiply-add may replace a product and a sum.
set_property(SOURCE ${TESVID_SOLVER_SOURCES} APPEND PROPERTY COMPILE_OPTIONS -ffp-contract=off)

# The four-lane build of the sweep is compiled with AVX2 (not FMA) and chosen at run time only
# on processors that have it; every other file stays at the baseline instruction set.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$" AND
   CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/relax_sweep_avx.cpp
                 APPEND PROPERTY COMPILE_OPTIONS -mavx2)
endif()
