-- A genealogist search for KT_NAME between the years KT_YEARS ("min max"), with a valid session.
local token
for line in io.lines(os.getenv("KT_TOKENS")) do token = line break end
function init(args)
  wrk.method = "POST"
  wrk.headers["Content-Type"] = "application/x-www-form-urlencoded"
  wrk.headers["Cookie"] = "KTSESSION=" .. token
  local min, max = os.getenv("KT_YEARS"):match("(%-?%d+) (%-?%d+)")
  wrk.body = "<getrows page='1'><params lastname=\"" .. os.getenv("KT_NAME") .. "\" minyear='" .. min ..
             "' maxyear='" .. max .. "'/></getrows>"
end
function request()
  return wrk.format(nil, "/worldsearch/searchgenealogists.asp")
end
