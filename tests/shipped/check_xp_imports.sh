#!/bin/sh
# Every shipped program and control must start on Windows XP SP3: none may import a
# function that XP's system libraries lack, and each names 5.1 or lower as the system
# version it needs. Usage: check_xp_imports.sh OBJDUMP DIST_FILE_LIST
set -eu
objdump=$1
list=$2
# Functions that came after XP (kernel32, advapi32, shell32, user32), and every "Ex2" form.
later='GetTickCount64|InitializeSRWLock|AcquireSRWLock(Exclusive|Shared)|ReleaseSRWLock(Exclusive|Shared)|TryAcquireSRWLock(Exclusive|Shared)|InitializeConditionVariable|SleepConditionVariable(CS|SRW)|WakeConditionVariable|WakeAllConditionVariable|InitOnce(ExecuteOnce|BeginInitialize|Complete|Initialize)|Fls(Alloc|Free|GetValue|SetValue)|CreateSymbolicLink[AW]|GetFinalPathNameByHandle[AW]|(Create(Event|Mutex|Semaphore|WaitableTimer))Ex[AW]|SetFileInformationByHandle|GetFileInformationByHandleEx|CancelIoEx|QueryFullProcessImageName[AW]|GetProductInfo|(LCMapString|CompareString|GetLocaleInfo|GetDateFormat|GetTimeFormat)Ex|GetUserDefaultLocaleName|LocaleNameToLCID|GetErrorMode|RegDeleteTree[AW]|RegGetValue[AW]|RegSetKeyValue[AW]|RegDeleteKeyEx[AW]|SHGetKnownFolderPath|GetThreadId|GetProcessId|SetThreadErrorMode|[A-Za-z0-9_]+Ex2[AW]?'
failed=0
count=0
while read -r file; do
  [ -n "$file" ] || continue
  count=$((count + 1))
  dump=$("$objdump" -p "$file")
  found=$(printf '%s\n' "$dump" | awk '/DLL Name:/ {dll=$3} /^\t[0-9a-f]+[ \t]+[0-9]+[ \t]+[A-Za-z_]/ {print dll ": " $3}' |
          grep -E ": ($later)\$" || true)
  if [ -n "$found" ]; then
    echo "FAIL: $(basename "$file") imports what Windows XP lacks:"; echo "$found" | sed 's/^/  /'
    failed=1
  fi
  for field in MajorOSystemVersion MajorSubsystemVersion; do
    major=$(printf '%s\n' "$dump" | awk -v f="$field" '$1 == f {print $2}')
    minor=$(printf '%s\n' "$dump" | awk -v f="$(echo "$field" | sed 's/Major/Minor/')" '$1 == f {print $2}')
    if [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt 1 ]; }; then
      echo "FAIL: $(basename "$file") needs system version $major.$minor ($field)"; failed=1
    fi
  done
done < "$list"
[ "$count" -gt 0 ] || { echo "FAIL: no shipped files listed in $list"; exit 1; }
[ $failed -eq 0 ] && echo "$count shipped files start on Windows XP"
exit $failed
