# Firebird 2.5's fbclient.dll for Windows with MinGW-w64: the sources of Firebird's own MSVC
# projects builds/win32/msvc10/fbclient.vcxproj and common.vcxproj, with their defines.
# Run by fbclient-windows.sh in its work folder: make -f fbclient-windows.mk ARCH=x86|x64 SRC=src

ARCH ?= x86
ifeq ($(ARCH),x86)
CROSS ?= i686-w64-mingw32-
ARCHDEF = -DI386=1 -march=i686
else
CROSS ?= x86_64-w64-mingw32-
ARCHDEF = -DAMD64
endif
CXX = $(CROSS)g++-posix
WINDRES = $(CROSS)windres
SRC ?= src
OBJ = obj-$(ARCH)

SOURCES = \
 gen/dsql/array.cpp gen/dsql/blob.cpp \
 src/auth/trusted/AuthSspi.cpp \
 src/dsql/keywords.cpp src/dsql/preparse.cpp src/dsql/user_dsql.cpp src/dsql/utld.cpp \
 src/jrd/ThreadData.cpp src/jrd/ThreadStart.cpp src/jrd/alt.cpp src/jrd/dsc.cpp src/jrd/enc.cpp \
 src/jrd/gds.cpp src/jrd/isc.cpp src/jrd/isc_file.cpp \
 src/jrd/os/win32/config_root.cpp src/jrd/os/win32/ibinitdll.cpp src/jrd/os/win32/isc_ipc.cpp \
 src/jrd/os/win32/os_utils.cpp \
 src/jrd/perf.cpp src/jrd/sdl.cpp src/jrd/status.cpp src/jrd/utl.cpp src/jrd/why.cpp \
 src/remote/inet.cpp src/remote/interface.cpp src/remote/merge.cpp src/remote/os/win32/wnet.cpp \
 src/remote/parser.cpp src/remote/protocol.cpp src/remote/remote.cpp src/remote/xdr.cpp \
 src/remote/xnet.cpp \
 src/utilities/gsec/call_service.cpp \
 src/common/classes/alloc.cpp src/common/classes/locks.cpp src/common/fb_exception.cpp \
 src/common/StatusHolder.cpp src/common/config/config.cpp src/common/config/config_file.cpp \
 src/common/config/dir_list.cpp src/common/classes/BaseStream.cpp \
 src/common/classes/ClumpletReader.cpp src/common/classes/ClumpletWriter.cpp src/common/cvt.cpp \
 src/jrd/db_alias.cpp src/common/dllinst.cpp src/common/classes/fb_string.cpp \
 src/jrd/os/win32/fbsyslog.cpp src/common/classes/init.cpp src/common/classes/MetaName.cpp \
 src/jrd/os/win32/mod_loader.cpp src/common/classes/MsgPrint.cpp src/jrd/os/win32/path_utils.cpp \
 src/common/classes/PublicHandle.cpp src/common/classes/SafeArg.cpp src/common/StatusArg.cpp \
 src/common/classes/TempFile.cpp src/common/thd.cpp src/common/classes/timestamp.cpp \
 src/common/classes/UserBlob.cpp src/common/utils.cpp src/common/UtilSvc.cpp

OBJS = $(addprefix $(OBJ)/,$(SOURCES:.cpp=.o)) $(OBJ)/version.o

# The MSVC project's Release defines and MinGW's own; WIN_NT and the rest come from autoconfig.h.
CPPFLAGS = -Ishim -I$(SRC)/src/include -I$(SRC)/src/include/gen -I$(SRC)/src \
 -DNDEBUG -D_WINDOWS -D_USRDLL -DCLIENT -DSUPERCLIENT -DWIN32 -DMINGW -DWIN32_LEAN_AND_MEAN \
 -D_CRT_SECURE_NO_WARNINGS $(ARCHDEF)
# C++98-era code: keep GCC 12 from optimising on assumptions that code predates.
CXXFLAGS = -O2 -std=gnu++98 -fno-strict-aliasing -fno-delete-null-pointer-checks -fpermissive -w
# libgcc, libstdc++ and winpthread linked in: the DLL needs no MinGW runtime beside it.
LDFLAGS = -shared -static -static-libgcc -static-libstdc++ -Wl,--enable-stdcall-fixup -s
LIBS = -lws2_32 -lmpr -lversion -lcomctl32 -ladvapi32 -luser32 -lsecur32

all: $(OBJ)/fbclient.dll

$(OBJ)/%.o: $(SRC)/%.cpp
	@mkdir -p $(dir $@)
	$(CXX) $(CPPFLAGS) $(CXXFLAGS) -c $< -o $@

$(OBJ)/version.o: $(SRC)/src/jrd/version.rc
	@mkdir -p $(dir $@)
	$(WINDRES) -I$(SRC)/src/include -I$(SRC)/src/jrd -I$(SRC)/src $< -o $@

# The .def file exports the C API under its plain names, without the @N of stdcall on x86.
$(OBJ)/fbclient.dll: $(OBJS)
	$(CXX) $(LDFLAGS) -o $@ $(OBJS) $(SRC)/builds/win32/defs/fbclient.def $(LIBS)
