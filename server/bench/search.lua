-- A genealogist search for KT_NAME with a valid session.
local token
for line in io.lines(os.getenv("KT_TOKENS")) do token = line break end
function init(args)
  wrk.method = "POST"
  wrk.headers["Content-Type"] = "application/x-www-form-urlencoded"
  wrk.headers["Cookie"] = "KTSESSION=" .. token
  wrk.body = "<getrows page='1'><params lastname=\"" .. os.getenv("KT_NAME") .. "\" minyear='0' maxyear='10000'/></getrows>"
end
function request()
  return wrk.format(nil, "/worldsearch/searchgenealogists.asp")
end
